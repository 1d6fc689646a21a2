#pragma once
// FormulaWindow ("公式设置") adds a custom column; FormulaEditWindow ("修改公式设置") changes
// the selected one. Both are modal over the settings window and share this class.

#include "print/formulas.h"
#include "print/reportrequest.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace mv {

class PrintSettingsWindow;

class FormulaWindow : public QDialog
{
    Q_OBJECT
public:
    // row -1: FormulaWindow (add); otherwise FormulaEditWindow for that row of the custom
    // column list.
    FormulaWindow(PrintSettingsWindow& settings, QList<CustomColumn>& columns, int row);

public slots:
    void confirm();

private:
    PrintSettingsWindow& m_settings;
    QList<CustomColumn>& m_columns;
    int m_row;
    QString m_originalName;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_formula = nullptr;
    QComboBox* m_columnsBox = nullptr;
    FormulaEngine m_engine;
};

} // namespace mv
