#pragma once
// The 系统 menu's 数据备份 and 数据恢复: backing up the open database under a name the user
// confirms, and restoring one of the backups after a question that names it.
//
// MainWindow creates one DatabaseMenu, connects the two menu items to backUp() and restore(),
// and reloads its lists on dataReplaced().

#include <QObject>

class QWidget;

namespace mv {

class Connection;

// Opens the modal 数据设置 window, showing the embedded file of the open data directory.
void openDatabaseSettings(Connection& connection, QWidget* parent);

class DatabaseMenu : public QObject
{
    Q_OBJECT
public:
    DatabaseMenu(Connection& connection, QObject* parent);

public slots:
    // Input box with today's date as the name; Cancel stops; the outcome is reported.
    void backUp();
    // Lists the backups (newest first), asks Yes/No for the chosen one, then restores it.
    void restore();

signals:
    // The open database now holds the restored data: every page must reload.
    void dataReplaced();

private:
    Connection& m_connection;
};

} // namespace mv
