#pragma once
// The non-modal item search window (SearchWindow): pick category, name or model, type a part
// of it, and the matching items replace the rows of the stock list. The window stays open
// for the next search; 退出 closes and destroys it.
//
// MainWindow opens it from 搜索_按钮 and toolbar 查询 (keep one instance, e.g. in a
// QPointer, and raise it when it is already open).

#include <QWidget>

class QRadioButton;

namespace mv {

class ComboBox;
class Connection;
class ReportList;

class SearchWindow : public QWidget
{
    Q_OBJECT
public:
    // stockList is the main window's 超级列表框1; both it and the connection must outlive
    // this window. Deletes itself when closed.
    SearchWindow(Connection& connection, ReportList* stockList, QWidget* parent = nullptr);

public slots:
    // 搜索 and Enter in any of the three fields.
    void searchStock();

private:
    Connection& m_connection;
    ReportList* m_stockList;
    ComboBox* m_fields[3] = {};
    QRadioButton* m_options[3] = {};
};

} // namespace mv
