#pragma once
// Process-wide state set by the login: the current user and his two rights.

#include <QString>

namespace mv {

struct Session
{
    QString currentUser;
    bool auditRight = false; // user.ycl审核 is exactly "是"
    bool dataRight = false;  // user.数据操作 is exactly "是"
};

Session& session();

} // namespace mv
