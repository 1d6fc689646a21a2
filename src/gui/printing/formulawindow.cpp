#include "gui/printing/formulawindow.h"

#include "common/messages.h"
#include "forms/controldef.h"
#include "forms/windowbuilder.h"
#include "gui/printing/printsettingswindow.h"
#include "print/customcolumns.h"
#include "widgets/showoutcome.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace mv {

FormulaWindow::FormulaWindow(PrintSettingsWindow& settings, QList<CustomColumn>& columns, int row)
    : QDialog(&settings), m_settings(settings), m_columns(columns), m_row(row)
{
    const WindowDef& def = windowDef(row < 0 ? u"FormulaWindow"_qs : u"FormulaEditWindow"_qs);
    setObjectName(def.name);
    setWindowTitle(def.caption);
    buildWindow(def, this);
    setFixedSize(def.width, def.height);
    m_name = control<QLineEdit>(this, u"新列名编辑框"_qs);
    m_formula = control<QLineEdit>(this, u"公式编辑框"_qs);
    m_columnsBox = control<QComboBox>(this, u"列内容"_qs);

    // A list to pick a column from, not a box to type in: a click anywhere on it opens it.
    m_columnsBox->setEditable(false);
    m_columnsBox->addItems(m_settings.printColumnTitles(true));
    m_columnsBox->setCurrentIndex(-1);
    if (row >= 0 && row < m_columns.size()) {
        m_name->setText(m_columns[row].name);
        m_formula->setText(m_columns[row].formula);
        m_originalName = m_columns[row].name;
    }
    connect(m_columnsBox, &QComboBox::activated, this, [this](int index) {
        if (index < 0)
            return;
        m_formula->setText(m_formula->text() + u'[' + m_columnsBox->itemText(index) + u']');
        m_formula->setFocus();
        m_formula->end(false);
    });
    connect(control<QPushButton>(this, u"确定"_qs), &QPushButton::clicked, this,
            &FormulaWindow::confirm);
    connect(control<QPushButton>(this, u"取消"_qs), &QPushButton::clicked, this, &QDialog::reject);
    m_name->setFocus();
}

void FormulaWindow::confirm()
{
    const QStringList listTitles = m_settings.printColumnTitles(false);
    const CustomColumnOutcome outcome =
        m_row < 0
            ? AddCustomColumn(m_columns, listTitles, m_name->text(), m_formula->text(), m_engine)
            : ModifyCustomColumn(m_columns, listTitles, m_row, m_originalName, m_name->text(),
                                 m_formula->text(), m_engine);
    if (!showOutcome(outcome, {{CustomColumnField::Formula, m_formula}}))
        return;
    m_settings.refreshCustomColumns();
    if (m_row >= 0) {
        m_settings.renameStatisticsColumn(m_originalName, m_columns.at(m_row).name);
        m_settings.rebuildStatisticsList();
    }
    accept();
}

} // namespace mv
