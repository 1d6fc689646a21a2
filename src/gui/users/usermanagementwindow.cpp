#include "gui/users/usermanagementwindow.h"

#include "common/messages.h"
#include "common/session.h"
#include "db/builders.h"
#include "db/connection.h"
#include "forms/windowbuilder.h"
#include "widgets/editbox.h"
#include "widgets/reportlist.h"
#include "widgets/showoutcome.h"

#include <QCheckBox>
#include <QItemSelectionModel>
#include <QPushButton>

namespace mv {

namespace {

QString yesNo(bool granted)
{
    return granted ? QStringLiteral("是") : QStringLiteral("否");
}

} // namespace

UserManagementWindow::UserManagementWindow(Connection& connection, QWidget* parent)
    : QDialog(parent), m_connection(connection)
{
    const WindowDef& def = windowDef(QStringLiteral("UserManagementWindow"));
    setObjectName(def.name);
    setWindowTitle(def.caption);
    setModal(true);
    buildWindow(def, this);
    setFixedSize(def.width, def.height);

    m_list = control<ReportList>(this, QStringLiteral("超级列表框_用户"));
    m_name = control<EditBox>(this, QStringLiteral("编辑框_用户名"));
    m_password = control<EditBox>(this, QStringLiteral("编辑框_密码"));
    m_passwordAgain = control<EditBox>(this, QStringLiteral("编辑框_密码确认"));
    m_audit = control<QCheckBox>(this, QStringLiteral("选择框_审核"));
    m_data = control<QCheckBox>(this, QStringLiteral("选择框_数据操作"));
    const auto button = [this](const QString& name) {
        auto* b = control<QPushButton>(this, name);
        b->setAutoDefault(false); // Enter in a field must not press a button by surprise
        return b;
    };
    connect(button(QStringLiteral("按钮_添加")), &QPushButton::clicked, this,
            &UserManagementWindow::addClicked);
    connect(button(QStringLiteral("按钮_修改")), &QPushButton::clicked, this,
            &UserManagementWindow::changeClicked);
    connect(button(QStringLiteral("按钮_删除")), &QPushButton::clicked, this,
            &UserManagementWindow::deleteClicked);
    connect(button(QStringLiteral("按钮_重置密码")), &QPushButton::clicked, this,
            &UserManagementWindow::resetPasswordClicked);
    connect(button(QStringLiteral("按钮_退出")), &QPushButton::clicked, this, &QDialog::close);

    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &UserManagementWindow::showChosen);
    refreshList();
    m_list->setFocus();
}

const Account* UserManagementWindow::chosenAccount() const
{
    const int row = m_list->selectedRow();
    return row >= 0 && row < m_accounts.size() ? &m_accounts.at(row) : nullptr;
}

void UserManagementWindow::refreshList()
{
    bool ok = false;
    m_accounts = listAccounts(m_connection, &ok);
    if (!ok)
        msgBox(QStringLiteral("无法读取用户列表：") + m_connection.lastErrorForUser(), MsgOk,
               QStringLiteral("错误"));
    QList<ReportRow> rows;
    for (const Account& account : std::as_const(m_accounts)) {
        ReportRow row;
        row.cells = QStringList{QString::number(account.number), account.name,
                                yesNo(account.auditRight), yesNo(account.dataRight)};
        row.datum = account.number;
        rows.append(row);
    }
    m_list->model()->setRows(rows);
}

void UserManagementWindow::showChosen()
{
    const Account* account = chosenAccount();
    if (!account)
        return;
    m_name->setText(account->name);
    m_audit->setChecked(account->auditRight);
    m_data->setChecked(account->dataRight);
    m_password->clear();
    m_passwordAgain->clear();
}

void UserManagementWindow::chooseAccount(qint64 number)
{
    for (int row = 0; row < m_accounts.size(); ++row) {
        if (m_accounts.at(row).number == number) {
            m_list->setSelectedRow(row);
            showChosen(); // also when the row was already selected
            return;
        }
    }
    m_list->setSelectedRow(-1);
}

bool UserManagementWindow::report(const AccountOutcome& outcome)
{
    return showOutcome(outcome, {{AccountField::Name, m_name},
                                 {AccountField::Password, m_password},
                                 {AccountField::List, m_list}});
}

bool UserManagementWindow::refuseWithoutChoice()
{
    if (chosenAccount())
        return false;
    msgBox(QStringLiteral("请先在列表中选择一个用户！"), MsgOk, QStringLiteral("提示"));
    m_list->setFocus();
    return true;
}

void UserManagementWindow::addClicked()
{
    NewAccount account;
    account.name = m_name->text();
    account.password = m_password->text();
    account.passwordAgain = m_passwordAgain->text();
    account.auditRight = m_audit->isChecked();
    account.dataRight = m_data->isChecked();
    if (!report(addAccount(m_connection, account)))
        return;
    refreshList();
    if (!m_accounts.isEmpty())
        chooseAccount(m_accounts.last().number); // the new account has the highest 编号
}

void UserManagementWindow::changeClicked()
{
    if (refuseWithoutChoice())
        return;
    const Account account = *chosenAccount();
    if (const auto refusal = rightsChangeRefusal(account, m_name->text(), m_password->text())) {
        report(*refusal);
        return;
    }
    if (compareTexts(account.name, session().currentUser) == 0 &&
        msgBox(QStringLiteral("您正在修改自己的账户的权限，确定要修改吗？"), MsgYesNo,
               QStringLiteral("修改提示")) != AnswerYes)
        return;
    report(changeRights(m_connection, account, m_audit->isChecked(), m_data->isChecked()));
    refreshList();
    chooseAccount(account.number);
}

void UserManagementWindow::deleteClicked()
{
    if (refuseWithoutChoice())
        return;
    const Account account = *chosenAccount();
    if (const auto refusal = deletionRefusal(m_accounts, account.number, session().currentUser)) {
        report(*refusal);
        return;
    }
    if (msgBox(QStringLiteral("确定要删除用户『%1』吗？").arg(account.name), MsgYesNo,
               QStringLiteral("删除提示")) != AnswerYes)
        return;
    report(deleteAccount(m_connection, account, session().currentUser));
    refreshList();
    m_list->setSelectedRow(-1);
    m_list->setFocus();
}

void UserManagementWindow::resetPasswordClicked()
{
    if (refuseWithoutChoice())
        return;
    const Account account = *chosenAccount();
    if (const auto refusal = renameRefusal(account, m_name->text())) {
        report(*refusal);
        return;
    }
    if (report(resetPassword(m_connection, account, m_password->text(), m_passwordAgain->text()))) {
        m_password->clear();
        m_passwordAgain->clear();
    }
}

} // namespace mv
