#pragma once
// The new content of a file, written under a fresh name beside it and renamed over it in one
// step: the file at the target path is always either the old one, whole, or the new one,
// whole. Nothing is written outside the target's directory.

#include <QByteArray>
#include <QString>

namespace mv {

class ReplacementFile
{
public:
    enum Access
    {
        Shared,   // a new file as any the user saves (umask); a replaced one keeps its mode
        OwnerOnly // readable by the owner only, as backups of the shop's data are
    };

    explicit ReplacementFile(const QString& target, Access access = Shared);
    // Removes the temporary file unless it was committed.
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Creates an empty file under a fresh name in the target's directory (<target>.XXXXXX);
    // false with the reason (a missing or read-only directory).
    bool create(QString* error);
    // The temporary file's path, for whatever writes the new content.
    QString temporaryPath() const { return m_temporary; }
    QString target() const { return m_target; }

    // Flushes the written content to disk and renames it over the target. On failure the target is
    // as it was and the temporary file is gone; false with the reason.
    bool commit(QString* error);
    // Removes the temporary file; the target is not touched.
    void discard();

private:
    QString m_target;
    Access m_access;
    QString m_temporary;
};

// Writes bytes as the whole new content of the file at target, through a ReplacementFile:
// every write checked (a buffered save file took a write refused by a full disk for done and
// put an empty file in place), the old file left as it was on failure; false with the reason.
bool replaceFileContent(const QString& target, const QByteArray& bytes, QString* error,
                        ReplacementFile::Access access = ReplacementFile::Shared);

} // namespace mv
