#pragma once
// What the window program offers when the database of this start cannot be opened.

#include <QString>

namespace mv {

class LoginWindow;
struct OpenOptions;

// After the login window could not open the database of this start: a login there cannot
// work, so this says what is wrong and what to do, and offers what can help. For a server:
// 重新输入密码, 数据设置 (the choice saved there is opened at once) or 退出; for the file only
// 退出. True once the database is open; false when the program ends.
bool settleStartFailure(LoginWindow& login, const QString& dataDirectory, OpenOptions options);

} // namespace mv
