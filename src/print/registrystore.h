#pragma once
// The registry store of print settings: under HKEY_CURRENT_USER, key "software\" + sub-key +
// "打印设置". On Windows it is the real registry; elsewhere a JSON file in the per-user
// config directory that keeps each value's type (REG_SZ, REG_EXPAND_SZ, REG_DWORD), so a
// text stored where a number is expected reads as 0 and the reverse as "". A damaged file
// is set aside as registry.json.damaged with a message, never silently written over.

#include "print/settingsstore.h"

#include <QJsonObject>

#include <optional>

namespace mv {

// The value types the store keeps, named as the registry names them.
inline const QString kRegSz = QStringLiteral("REG_SZ");
inline const QString kRegExpandSz = QStringLiteral("REG_EXPAND_SZ");
inline const QString kRegDword = QStringLiteral("REG_DWORD");

// The key for a sub-key with every half-width and full-width blank removed.
QString printSettingsKey(const QString& subKey);
// Removes half-width and full-width blanks.
QString withoutBlanks(const QString& text);

class RegistryStore : public SettingsStore
{
public:
    // The typed file lives at file (empty: registryFilePath()).
    explicit RegistryStore(const QString& subKey, const QString& file = QString());

    bool hasSavedSet() override;
    QString readText(const QString& name) override;
    int readNumber(const QString& name) override;
    void writeText(const QString& name, const QString& value) override;
    void writeNumber(const QString& name, int value) override;
    void markSaved(bool saved) override;

    // Writes a text as REG_EXPAND_SZ (environment variables are expanded when read).
    void writeExpandableText(const QString& name, const QString& value);

    // The default typed file: <per-user config dir>/registry.json.
    static QString registryFilePath();

private:
    void writeValue(const QString& name, const QString& type, const QJsonValue& data);
    QJsonObject readValue(const QString& name) const;
#ifndef Q_OS_WIN
    // The typed file's content; empty when there is none. A file that is damaged is renamed
    // to <file>.damaged (or .damaged.2, ...) with a message and reads as empty; no value
    // when it could not be renamed either, and then nothing is written over it.
    std::optional<QJsonObject> readRoot() const;
    mutable bool m_damageReported = false;
#endif

    QString m_key;
    QString m_file;
};

// %NAME% replaced by the environment variable's value (unknown names stay as they are).
QString expandEnvironment(const QString& text);

} // namespace mv
