#pragma once
// The modal password change window (PasswordWindow) of the logged-in user: old password, the
// new one twice, 修改 and 退出. The checks and the update live in users/password.h.

#include <QDialog>

namespace mv {

class Connection;
class EditBox;

class PasswordWindow : public QDialog
{
    Q_OBJECT
public:
    // The connection must outlive the window; the account is the session's current user.
    explicit PasswordWindow(Connection& connection, QWidget* parent = nullptr);

public slots:
    // 修改: a refusal keeps the window open with the focus on the box to correct; success
    // closes it.
    void changePassword();

private:
    Connection& m_connection;
    EditBox* m_old = nullptr;
    EditBox* m_new = nullptr;
    EditBox* m_repeated = nullptr;
};

} // namespace mv
