#include "gui/users/loginwindow.h"

#include "common/messages.h"
#include "common/session.h"
#include "forms/windowbuilder.h"
#include "gui/main/appearance.h"
#include "gui/main/mainwindow.h"
#include "users/login.h"
#include "widgets/combobox.h"
#include "widgets/editbox.h"
#include "widgets/showoutcome.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace mv {

LoginWindow::LoginWindow(const QString& dataDirectory, const OpenOptions& options, QWidget* parent)
    : QWidget(parent)
{
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        applySkin(*app);

    const WindowDef& def = windowDef(QStringLiteral("LoginWindow"));
    setObjectName(def.name);
    setAttribute(Qt::WA_StyledBackground); // lets the skin paint the window background
    setWindowTitle(def.caption);
    setFixedSize(def.width, def.height);
    buildWindow(def, this);

    m_userBox = control<ComboBox>(this, QStringLiteral("用户_组合框"));
    m_passwordEdit = control<EditBox>(this, QStringLiteral("编辑框2"));
    auto* loginButton = control<QPushButton>(this, QStringLiteral("按钮2"));
    auto* exitButton = control<QPushButton>(this, QStringLiteral("按钮1"));

    connect(m_userBox, &ComboBox::enterPressed, m_passwordEdit,
            [this] { m_passwordEdit->setFocus(); });
    connect(m_passwordEdit, &EditBox::enterPressed, this, &LoginWindow::tryLogin);
    connect(loginButton, &QPushButton::clicked, this, &LoginWindow::tryLogin);
    connect(exitButton, &QPushButton::clicked, this, [this] {
        emit exitRequested();
        QCoreApplication::quit();
    });

    openDatabase(dataDirectory, options);
    m_userBox->setFocus();
}

bool LoginWindow::openDatabase(const QString& dataDirectory, const OpenOptions& options)
{
    m_connection.close();
    m_databaseError.clear();
    const bool server = !options.serverUrl.isEmpty();
    m_databaseOpen =
        server ? openServerDatabase(m_connection, options.serverUrl, options, &m_databaseError)
               : openDataStore(m_connection, dataDirectory, options, &m_databaseError);
    // Backups and print settings stay in the data directory with a server database too.
    m_connection.setHomeDirectory(dataDirectory);
    if (m_databaseOpen && !server && !QFileInfo(dataDirectory).isWritable())
        // The database needs its directory to write its journal: say so now, not at the
        // first failed save.
        msgBox(QStringLiteral("数据目录 %1 不可写：可以查看数据，但无法保存任何修改。\n"
                              "请用 --home 选项或环境变量 MORVANE_HOME 指定一个可写的目录。")
                   .arg(QDir::toNativeSeparators(dataDirectory)),
               MsgOkInfo, QStringLiteral("警告"));
    fillUserList();
    return m_databaseOpen;
}

LoginWindow::~LoginWindow()
{
    // Before the connection they use.
    m_mainWindow.reset();
    m_preparedMainWindow.reset();
}

bool LoginWindow::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::Paint && !m_preparationQueued) {
        m_preparationQueued = true;
        // After this paint reaches the screen, so that the window is not shown later for it.
        QTimer::singleShot(0, this, &LoginWindow::prepareMainWindow);
    }
    return handled;
}

void LoginWindow::prepareMainWindow()
{
    if (!m_mainWindow && !m_preparedMainWindow)
        m_preparedMainWindow = std::make_unique<MainWindow>(m_connection, MainWindow::Unstarted{});
}

void LoginWindow::fillUserList()
{
    m_userBox->clear();
    if (m_databaseOpen) {
        // An unreadable account table is said, not shown as a list without names.
        if (const std::optional<QStringList> names = offeredUserNames(m_connection))
            m_userBox->addItems(*names);
        else
            msgBox(u"读取用户失败："_qs + m_connection.lastErrorForUser(), MsgOk, u"错误"_qs);
    }
    m_userBox->setCurrentIndex(-1);
    m_userBox->setEditText(QString());
}

void LoginWindow::tryLogin()
{
    const LoginOutcome outcome =
        logIn(m_connection, m_userBox->currentText(), m_passwordEdit->text());
    if (!showOutcome<LoginField>(
            outcome, {{LoginField::UserName, m_userBox}, {LoginField::Password, m_passwordEdit}}))
        return;
    m_mainWindow = m_preparedMainWindow
                       ? std::move(m_preparedMainWindow)
                       : std::make_unique<MainWindow>(m_connection, MainWindow::Unstarted{});
    m_mainWindow->start(this);
    connect(m_mainWindow.get(), &MainWindow::exitRequested, this, &LoginWindow::exitRequested);
    connect(m_mainWindow.get(), &MainWindow::logInAgainRequested, this, &LoginWindow::showAgain,
            Qt::QueuedConnection); // after the menu item's slot has returned
    m_mainWindow->show();
}

void LoginWindow::showAgain()
{
    m_mainWindow.reset(); // with its pages and secondary windows
    session() = Session{};
    m_passwordEdit->clear();
    fillUserList();              // accounts may have been added or deleted meanwhile
    m_preparationQueued = false; // the next main window is built once this one is drawn
    show();
    activateWindow();
    m_userBox->setFocus();
}

void LoginWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (!m_mainWindow) {
        emit exitRequested();
        QCoreApplication::quit();
    }
}

} // namespace mv
