#include "print/registrystore.h"

#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>

// The platform's part, reading and writing one value, is registrystore_windows.cpp on Windows
// and registrystore_file.cpp elsewhere.

namespace mv {

QString withoutBlanks(const QString& text)
{
    QString result = text;
    result.remove(QLatin1Char(' '));
    result.remove(QChar(0x3000));
    return result;
}

QString printSettingsKey(const QString& subKey)
{
    return QStringLiteral("software\\") + withoutBlanks(subKey) + QStringLiteral("打印设置");
}

QString expandEnvironment(const QString& text)
{
    static const QRegularExpression variable(QStringLiteral("%([^%]+)%"));
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QString result;
    qsizetype at = 0;
    for (auto it = variable.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        result += text.mid(at, m.capturedStart() - at);
        const QString name = m.captured(1);
        result += env.contains(name) ? env.value(name) : m.captured(0);
        at = m.capturedEnd();
    }
    return result + text.mid(at);
}

RegistryStore::RegistryStore(const QString& subKey, const QString& file)
    : m_key(printSettingsKey(subKey)), m_file(file.isEmpty() ? registryFilePath() : file)
{
}

QString RegistryStore::registryFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
           QStringLiteral("/registry.json");
}

bool RegistryStore::hasSavedSet()
{
    return readNumber(QStringLiteral("ID")) == 1;
}

QString RegistryStore::readText(const QString& name)
{
    const QJsonObject v = readValue(name);
    const QString type = v.value(QStringLiteral("type")).toString();
    if (type == kRegSz)
        return v.value(QStringLiteral("data")).toString();
    if (type == kRegExpandSz)
        return expandEnvironment(v.value(QStringLiteral("data")).toString());
    return {};
}

int RegistryStore::readNumber(const QString& name)
{
    const QJsonObject v = readValue(name);
    if (v.value(QStringLiteral("type")).toString() != kRegDword)
        return 0;
    return int(quint32(v.value(QStringLiteral("data")).toInteger()));
}

void RegistryStore::writeText(const QString& name, const QString& value)
{
    writeValue(name, kRegSz, value);
}

void RegistryStore::writeExpandableText(const QString& name, const QString& value)
{
    writeValue(name, kRegExpandSz, value);
}

void RegistryStore::writeNumber(const QString& name, int value)
{
    writeValue(name, kRegDword, qint64(quint32(value)));
}

void RegistryStore::markSaved(bool saved)
{
    writeNumber(QStringLiteral("ID"), saved ? 1 : 0);
}

} // namespace mv
