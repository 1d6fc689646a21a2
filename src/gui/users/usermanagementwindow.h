#pragma once
// The administrator's modal window 用户管理: the accounts with their two rights, and the
// buttons that add, change, delete an account or reset its password. The work is done by
// users/accounts.h; this window only reads its fields and shows the outcomes.

#include "users/accounts.h"

#include <QDialog>

class QCheckBox;

namespace mv {

class Connection;
class EditBox;
class ReportList;

class UserManagementWindow : public QDialog
{
    Q_OBJECT
public:
    // The connection must outlive the window.
    explicit UserManagementWindow(Connection& connection, QWidget* parent = nullptr);

    // The account chosen in the list, nullptr when none is.
    const Account* chosenAccount() const;

public slots:
    void refreshList();
    void addClicked();
    void changeClicked();
    void deleteClicked();
    void resetPasswordClicked();

private:
    void showChosen();
    void chooseAccount(qint64 number);
    // Shows the outcome and puts the focus on the field it names; true when it was done.
    bool report(const AccountOutcome& outcome);
    bool refuseWithoutChoice();

    Connection& m_connection;
    QList<Account> m_accounts; // as listed, row by row
    ReportList* m_list = nullptr;
    EditBox* m_name = nullptr;
    EditBox* m_password = nullptr;
    EditBox* m_passwordAgain = nullptr;
    QCheckBox* m_audit = nullptr;
    QCheckBox* m_data = nullptr;
};

} // namespace mv
