#pragma once
// The database of this start: --database, MORVANE_DATABASE or the choice saved in 数据设置,
// with the server password asked for when it is not remembered; and what the start offers
// when that database cannot be opened.

#include <QString>

namespace mv {

class LoginWindow;
struct OpenOptions;

// Sets options->serverUrl for a server database (empty for the file). False when the
// program should end: an invalid URL (reported) or the password question cancelled.
bool chooseStartDatabase(const QString& databaseOption, OpenOptions* options);

// After the login window could not open the database of this start: a login there cannot
// work, so this says what is wrong and what to do, and offers what can help. For a server:
// 重新输入密码, 数据设置 (the choice saved there is opened at once) or 退出; for the file only
// 退出. True once the database is open; false when the program ends.
bool settleStartFailure(LoginWindow& login, const QString& dataDirectory, OpenOptions options);

} // namespace mv
