#pragma once
// The first window: opens the database, offers the user names and checks the login. It
// owns the program's one database connection and stays alive, hidden, after the login, to
// show again when the clerk chooses 重新登录.

#include "db/connection.h"
#include "db/datastore.h"

#include <QWidget>
#include <memory>

class QPushButton;

namespace mv {

class ComboBox;
class EditBox;
class MainWindow;

class LoginWindow : public QWidget
{
    Q_OBJECT
public:
    // Opens the database (see openDatabase()).
    LoginWindow(const QString& dataDirectory, const OpenOptions& options,
                QWidget* parent = nullptr);
    ~LoginWindow() override;

    Connection& connection() { return m_connection; }
    bool databaseOpen() const { return m_databaseOpen; }
    QString databaseError() const { return m_databaseError; }
    MainWindow* mainWindow() const { return m_mainWindow.get(); }

    // Opens the server database options name, else db.mdb in the data directory, and fills
    // the user list. A failure shows nothing: databaseError() says what is wrong, and the
    // start-up decides what to offer (see app/startfailure.h).
    bool openDatabase(const QString& dataDirectory, const OpenOptions& options);

public slots:
    // Checks the typed name and password; on success opens the main window.
    void tryLogin();

signals:
    void exitRequested();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void fillUserList();
    void prepareMainWindow();
    // 重新登录: the main window goes (its successor is built for the next login) and this
    // window shows again, the user list read anew.
    void showAgain();

    Connection m_connection;
    bool m_databaseOpen = false;
    QString m_databaseError;
    ComboBox* m_userBox = nullptr;
    EditBox* m_passwordEdit = nullptr;
    std::unique_ptr<MainWindow> m_mainWindow;
    // The main window built, not started, once this window has been drawn: the clerk types
    // his name and password meanwhile, and the login then only starts it.
    std::unique_ptr<MainWindow> m_preparedMainWindow;
    bool m_preparationQueued = false;
};

} // namespace mv
