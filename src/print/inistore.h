#pragma once
// The INI store of print settings: section "打印设置" of a file the caller names. Files are
// read as UTF-8 when they are valid UTF-8 and as GBK otherwise; they are written as UTF-8
// with plain keys, so other tools can read them.

#include "print/settingsstore.h"

#include <QStringList>

namespace mv {

class IniFile
{
public:
    // Reads path; a missing file reads as empty.
    explicit IniFile(const QString& path);

    bool exists() const { return m_exists; }
    // The value of key in section (case-insensitive names), or fallback when absent.
    QString value(const QString& section, const QString& key,
                  const QString& fallback = QString()) const;
    // Sets the value in memory (adding section and key as needed).
    void setValue(const QString& section, const QString& key, const QString& value);
    // Writes the whole file as UTF-8; false when it cannot be written.
    bool save() const;

    // Decodes file bytes: UTF-8 (with or without BOM) when valid, GBK otherwise.
    static QString decode(const QByteArray& bytes);

private:
    qsizetype findSection(const QString& section) const;
    qsizetype findKey(qsizetype sectionLine, const QString& key) const;

    QString m_path;
    QStringList m_lines;
    bool m_exists = false;
};

class IniStore : public SettingsStore
{
public:
    explicit IniStore(const QString& path) : m_path(path) {}

    bool hasSavedSet() override;
    QString readText(const QString& name) override;
    int readNumber(const QString& name) override;
    void writeText(const QString& name, const QString& value) override;
    void writeNumber(const QString& name, int value) override;
    void markSaved(bool) override {}

private:
    QString m_path;
};

} // namespace mv
