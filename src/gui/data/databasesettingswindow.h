#pragma once
// The modal window 数据设置 (DatabaseSettingsWindow): the embedded file or a PostgreSQL
// server. 测试连接 reports what a connection finds; 确定 saves the choice in the per-user
// settings, for the next start, and says where a remembered password is kept; a note says
// when --database chose another database for this run. The logic lives in db/databasechoice.h.

#include "db/databasechoice.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QRadioButton;

namespace mv {

class EditBox;

class DatabaseSettingsWindow : public QDialog
{
    Q_OBJECT
public:
    // filePath: the embedded database file shown beside its choice.
    DatabaseSettingsWindow(const QString& filePath, QWidget* parent = nullptr);

    DatabaseChoice choice() const; // as the controls stand
    // At start-up the saved choice is used at once, not at the next start.
    void setAppliesAtOnce(bool atOnce) { m_appliesAtOnce = atOnce; }

public slots:
    void testConnection();
    void save(); // 确定

private:
    void showChoice(const DatabaseChoice& choice);
    void enableServerFields();
    // Refuses a server choice with a field missing or wrong, with the focus on that field.
    bool refuseIncomplete(const DatabaseChoice& choice, const QString& title);

    QRadioButton* m_file = nullptr;
    QRadioButton* m_server = nullptr;
    EditBox* m_host = nullptr;
    EditBox* m_port = nullptr;
    EditBox* m_database = nullptr;
    EditBox* m_user = nullptr;
    EditBox* m_password = nullptr;
    QCheckBox* m_remember = nullptr;
    QLabel* m_passwordPlace = nullptr;
    QString m_parameters; // the saved choice's URL parameters, kept: no field shows them
    bool m_appliesAtOnce = false;
};

} // namespace mv
