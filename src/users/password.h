#pragma once
// Changing a user's password: the checks of the password window and the update itself.

#include "common/outcome.h"

#include <QString>

namespace mv {

class Connection;

enum class PasswordField
{
    None,
    OldPassword,
    NewPassword
};

// Done: the database holds the new password. The message is shown after every attempt,
// success or refusal.
using PasswordOutcome = Outcome<PasswordField>;

// Stores PASSWORD, exactly as typed (quotes included), for the account NAME. True only when
// the database accepted the update and reading the account back gives the new password;
// otherwise false with the reason in *error.
bool storePassword(Connection& connection, const QString& name, const QString& password,
                   QString* error = nullptr);

// The password change of the logged-in user NAME: the old password must be given and match
// (byte for byte), the new one must be typed twice alike and not be empty; then it is stored.
PasswordOutcome changePassword(Connection& connection, const QString& name,
                               const QString& oldPassword, const QString& newPassword,
                               const QString& repeated);

} // namespace mv
