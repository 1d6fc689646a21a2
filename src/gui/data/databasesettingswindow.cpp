#include "gui/data/databasesettingswindow.h"

#include "common/messages.h"
#include "forms/windowbuilder.h"
#include "widgets/editbox.h"
#include "widgets/showoutcome.h"
#include "widgets/waitcursor.h"

#include <QCheckBox>
#include <QCursor>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>

namespace mv {

DatabaseSettingsWindow::DatabaseSettingsWindow(const QString& filePath, QWidget* parent)
    : QDialog(parent)
{
    const WindowDef& def = windowDef(u"DatabaseSettingsWindow"_qs);
    setObjectName(def.name);
    setWindowTitle(def.caption);
    setModal(true);
    buildWindow(def, this);
    setFixedSize(def.width, def.height);

    m_file = control<QRadioButton>(this, u"单选框_文件"_qs);
    m_server = control<QRadioButton>(this, u"单选框_服务器"_qs);
    m_host = control<EditBox>(this, u"编辑框_主机"_qs);
    m_port = control<EditBox>(this, u"编辑框_端口"_qs);
    m_database = control<EditBox>(this, u"编辑框_数据库"_qs);
    m_user = control<EditBox>(this, u"编辑框_用户"_qs);
    m_password = control<EditBox>(this, u"编辑框_密码"_qs);
    m_remember = control<QCheckBox>(this, u"复选框_记住密码"_qs);
    m_passwordPlace = control<QLabel>(this, u"标签_密码保存"_qs);
    m_passwordPlace->setWordWrap(true);
    auto* fileLabel = control<QLabel>(this, u"标签_文件"_qs);
    control<QLabel>(this, u"标签_说明"_qs)->setWordWrap(true);
    fileLabel->setWordWrap(true);
    fileLabel->setText(QDir::toNativeSeparators(filePath));

    connect(m_server, &QRadioButton::toggled, this, &DatabaseSettingsWindow::enableServerFields);
    connect(control<QPushButton>(this, u"按钮_测试连接"_qs), &QPushButton::clicked, this,
            &DatabaseSettingsWindow::testConnection);
    connect(control<QPushButton>(this, u"按钮_确定"_qs), &QPushButton::clicked, this,
            &DatabaseSettingsWindow::save);
    connect(control<QPushButton>(this, u"按钮_取消"_qs), &QPushButton::clicked, this,
            &QDialog::reject);

    auto* override = control<QLabel>(this, u"标签_本次启动"_qs);
    override->setWordWrap(true);
    const QString commandLine = commandLineDatabase();
    override->setText(
        commandLine.isEmpty()
            ? QString()
            : u"本次启动使用命令行指定的数据库：%1（--database 或环境变量 MORVANE_DATABASE），"
              u"这里保存的选择在不带该选项启动时生效。"_qs.arg(commandLine));
    override->setVisible(!commandLine.isEmpty());

    QSettings settings;
    showChoice(loadDatabaseChoice(settings));
}

void DatabaseSettingsWindow::showChoice(const DatabaseChoice& choice)
{
    (choice.server ? m_server : m_file)->setChecked(true);
    m_host->setText(choice.host);
    m_port->setText(QString::number(choice.port));
    m_database->setText(choice.database);
    m_user->setText(choice.user);
    m_password->setText(choice.password);
    m_remember->setChecked(choice.rememberPassword);
    m_parameters = choice.parameters;
    m_passwordPlace->setText(choice.server && choice.rememberPassword
                                 ? passwordPlaceText(choice.passwordPlace)
                                 : QString());
    enableServerFields();
}

void DatabaseSettingsWindow::enableServerFields()
{
    const bool server = m_server->isChecked();
    for (QWidget* field : std::initializer_list<QWidget*>{m_host, m_port, m_database, m_user,
                                                          m_password, m_remember})
        field->setEnabled(server);
}

DatabaseChoice DatabaseSettingsWindow::choice() const
{
    DatabaseChoice choice;
    choice.server = m_server->isChecked();
    choice.host = m_host->text().trimmed();
    choice.port = m_port->text().trimmed().toInt();
    choice.database = m_database->text().trimmed();
    choice.user = m_user->text().trimmed();
    choice.password = m_password->text();
    choice.rememberPassword = m_remember->isChecked();
    choice.parameters = m_parameters;
    return choice;
}

bool DatabaseSettingsWindow::refuseIncomplete(const DatabaseChoice& choice, const QString& title)
{
    // What is missing from a server choice before anything can be tried, and the box that
    // takes it: the message is answered there, with what was typed selected to be replaced.
    QString message;
    EditBox* box = nullptr;
    if (choice.host.isEmpty())
        message = u"请填写服务器地址。"_qs, box = m_host;
    else if (choice.port <= 0 || choice.port > 65535)
        message = u"端口应是 1 到 65535 之间的数字。"_qs, box = m_port;
    else if (choice.database.isEmpty())
        message = u"请填写数据库名称。"_qs, box = m_database;
    else if (choice.user.isEmpty())
        message = u"请填写用户名。"_qs, box = m_user;
    if (!box)
        return false;
    msgBox(message, MsgOk, title);
    focusControl(box);
    return true;
}

void DatabaseSettingsWindow::testConnection()
{
    const DatabaseChoice chosen = choice();
    if (!chosen.server) {
        msgBox(u"内嵌数据库文件不需要连接测试。"_qs, MsgOkInfo, u"测试连接"_qs);
        return;
    }
    if (refuseIncomplete(chosen, u"测试连接"_qs))
        return;
    ConnectionTest outcome;
    {
        const WaitCursor wait;
        outcome = testServerConnection(chosen);
    }
    showOutcome(outcome);
}

void DatabaseSettingsWindow::save()
{
    const DatabaseChoice chosen = choice();
    if (chosen.server && refuseIncomplete(chosen, u"数据设置"_qs))
        return;
    QSettings settings;
    const PasswordStored stored = saveDatabaseChoice(settings, chosen);
    if (settings.status() != QSettings::NoError) {
        msgBox(u"无法保存设置到 "_qs + QDir::toNativeSeparators(settings.fileName()), MsgOk,
               u"数据设置"_qs);
        return;
    }
    m_passwordPlace->setText(stored.place == PasswordPlace::None ? QString()
                                                                 : passwordPlaceText(stored.place));
    QString saved = m_appliesAtOnce ? u"设置已保存。"_qs : u"设置已保存，程序下次启动时生效。"_qs;
    const bool remember = chosen.server && chosen.rememberPassword && !chosen.password.isEmpty();
    if (remember && stored.place != PasswordPlace::None)
        saved += u"\n"_qs + passwordPlaceText(stored.place);
    else if (remember)
        saved += u"\n"_qs + stored.error + u"。程序启动时会询问密码。"_qs;
    msgBox(saved, MsgOkInfo, u"数据设置"_qs);
    accept();
}

} // namespace mv
