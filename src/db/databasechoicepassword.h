#pragma once
// Where a remembered server password is kept: in the desktop's keyring when one runs, else in
// a file only the user can read (mode 0600) in the per-user config directory. Never in the
// settings file, which every user of the computer may read.

#include <QString>

namespace mv {

enum class PasswordPlace
{
    None,
    Keyring,
    File
};

struct PasswordStored
{
    PasswordPlace place = PasswordPlace::None; // None: it could not be kept anywhere
    QString error;                             // why not, when place is None
};

// The file that keeps passwords where no keyring runs.
QString passwordFilePath();

// Keeps password for account (user@host:port/database), replacing what was kept for any
// account before: the keyring first, the file when the keyring cannot take it.
PasswordStored keepServerPassword(const QString& account, const QString& password);
// The password kept for account at place; empty when there is none (or the keyring is gone).
QString keptServerPassword(const QString& account, PasswordPlace place);
// Removes the password of account from the keyring and the file.
void forgetServerPassword(const QString& account);

// The sentence 数据设置 shows about where the password is kept.
QString passwordPlaceText(PasswordPlace place);

// The program asks the keyring unless switched off; tests switch it off so that they never
// touch the keyring of whoever runs them.
void setKeyringEnabled(bool enabled);

} // namespace mv
