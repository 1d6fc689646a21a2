#pragma once
// The non-modal item search window (SearchWindow): pick category, name or model, type a part
// of it, and 搜索 asks for the matching items in place of the stock list's rows (the stock
// page owns them). The window stays open for the next search; 退出 closes and destroys it.
//
// MainWindow opens it from 搜索_按钮 and toolbar 查询 (keep one instance, e.g. in a
// QPointer, and raise it when it is already open).

#include "stock/stocksearch.h"

#include <QWidget>

class QRadioButton;

namespace mv {

class ComboBox;

class SearchWindow : public QWidget
{
    Q_OBJECT
public:
    // Deletes itself when closed.
    explicit SearchWindow(QWidget* parent = nullptr);

signals:
    // 搜索 with an option chosen: the items whose field contains text.
    void searchRequested(StockSearchField field, const QString& text);

public slots:
    // 搜索 and Enter in any of the three fields.
    void searchStock();

private:
    ComboBox* m_fields[3] = {};
    QRadioButton* m_options[3] = {};
};

} // namespace mv
