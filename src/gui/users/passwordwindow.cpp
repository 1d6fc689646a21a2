#include "gui/users/passwordwindow.h"

#include "common/messages.h"
#include "common/session.h"
#include "forms/windowbuilder.h"
#include "users/password.h"
#include "widgets/editbox.h"
#include "widgets/showoutcome.h"

#include <QPushButton>

namespace mv {

PasswordWindow::PasswordWindow(Connection& connection, QWidget* parent)
    : QDialog(parent), m_connection(connection)
{
    const WindowDef& def = windowDef(u"PasswordWindow"_qs);
    setObjectName(def.name);
    setWindowTitle(def.caption);
    buildWindow(def, this);
    setFixedSize(def.width, def.height);

    m_old = control<EditBox>(this, u"编辑框1"_qs);
    m_new = control<EditBox>(this, u"编辑框2"_qs);
    m_repeated = control<EditBox>(this, u"编辑框3"_qs);
    auto* change = control<QPushButton>(this, u"按钮1"_qs);
    auto* quit = control<QPushButton>(this, u"按钮2"_qs);
    connect(change, &QPushButton::clicked, this, &PasswordWindow::changePassword);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    m_old->setFocus();
}

void PasswordWindow::changePassword()
{
    const PasswordOutcome outcome = mv::changePassword(
        m_connection, session().currentUser, m_old->text(), m_new->text(), m_repeated->text());
    if (showOutcome(outcome,
                    {{PasswordField::OldPassword, m_old}, {PasswordField::NewPassword, m_new}}))
        accept();
}

} // namespace mv
