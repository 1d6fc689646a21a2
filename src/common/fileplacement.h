#pragma once
// Putting a finished file in its place without ever replacing a file that is already there:
// two copies of the program working in one directory at once never overwrite or delete each
// other's files.

#include <QString>

namespace mv {

enum class Placement
{
    Done,
    TargetExists, // the target name is taken; nothing was changed
    Failed        // see *error; nothing was changed
};

// Renames from to to, atomically, only when to does not exist.
Placement moveIntoPlace(const QString& from, const QString& to, QString* error = nullptr);

// Gives the file at path a second name, atomically, only when that name does not exist. False
// (with *error) where the file system has no hard links.
Placement addName(const QString& path, const QString& name, QString* error = nullptr);

} // namespace mv
