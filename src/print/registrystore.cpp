#include "print/registrystore.h"

#include "common/messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <cstring>
#include <string>
#include <windows.h>
#endif

namespace mv {

namespace {

const QString kSz = QStringLiteral("REG_SZ");
const QString kExpandSz = QStringLiteral("REG_EXPAND_SZ");
const QString kDword = QStringLiteral("REG_DWORD");

#ifdef Q_OS_WIN
std::wstring wide(const QString& s)
{
    return s.toStdWString();
}
#endif

} // namespace

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

#ifdef Q_OS_WIN

QJsonObject RegistryStore::readValue(const QString& name) const
{
    DWORD type = 0;
    DWORD size = 0;
    const std::wstring key = wide(m_key), value = wide(name);
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), value.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                     &type, nullptr, &size) != ERROR_SUCCESS)
        return {};
    std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), value.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                     &type, buffer.data(), &size) != ERROR_SUCCESS)
        return {};
    if (type == REG_DWORD) {
        DWORD number = 0;
        std::memcpy(&number, buffer.data(), sizeof number);
        return {{QStringLiteral("type"), kDword}, {QStringLiteral("data"), qint64(number)}};
    }
    if (type == REG_SZ || type == REG_EXPAND_SZ)
        return {{QStringLiteral("type"), type == REG_SZ ? kSz : kExpandSz},
                {QStringLiteral("data"), QString::fromWCharArray(buffer.c_str())}};
    return {{QStringLiteral("type"), QStringLiteral("other")}};
}

void RegistryStore::writeValue(const QString& name, const QString& type, const QJsonValue& data)
{
    const std::wstring key = wide(m_key), value = wide(name);
    if (type == kDword) {
        const DWORD number = DWORD(data.toInteger());
        RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), value.c_str(), REG_DWORD, &number,
                        sizeof number);
        return;
    }
    const std::wstring text = wide(data.toString());
    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), value.c_str(),
                    type == kSz ? REG_SZ : REG_EXPAND_SZ, text.c_str(),
                    DWORD((text.size() + 1) * sizeof(wchar_t)));
}

#else

std::optional<QJsonObject> RegistryStore::readRoot() const
{
    QFile f(m_file);
    if (!f.exists())
        return QJsonObject();
    if (f.open(QIODevice::ReadOnly)) {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &error);
        if (error.error == QJsonParseError::NoError && doc.isObject())
            return doc.object();
        f.close();
    }
    // A damaged file is kept aside, never written over: the settings start afresh and the
    // user is told where the old file went.
    QString aside = m_file + QStringLiteral(".damaged");
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = m_file + QStringLiteral(".damaged.%1").arg(n);
    if (QFile::rename(m_file, aside)) {
        msgBox(QStringLiteral("打印设置文件已损坏：%1\n已改名保存为 %2，打印设置恢复为默认值。")
                   .arg(QDir::toNativeSeparators(m_file), QDir::toNativeSeparators(aside)),
               MsgOkInfo, QStringLiteral("提示"));
        return QJsonObject();
    }
    if (!m_damageReported) {
        msgBox(QStringLiteral("打印设置文件已损坏：%1\n无法改名保存，本次的打印设置不会被保存。")
                   .arg(QDir::toNativeSeparators(m_file)),
               MsgOkInfo, QStringLiteral("提示"));
        m_damageReported = true;
    }
    return std::nullopt;
}

QJsonObject RegistryStore::readValue(const QString& name) const
{
    return readRoot().value_or(QJsonObject()).value(m_key).toObject().value(name).toObject();
}

void RegistryStore::writeValue(const QString& name, const QString& type, const QJsonValue& data)
{
    // A store that cannot be written is skipped silently; the preview goes on.
    std::optional<QJsonObject> root = readRoot();
    if (!root)
        return; // a damaged file that could not be set aside is left as it is
    QJsonObject key = root->value(m_key).toObject();
    key.insert(name, QJsonObject{{QStringLiteral("type"), type}, {QStringLiteral("data"), data}});
    root->insert(m_key, key);
    QDir().mkpath(QFileInfo(m_file).absolutePath());
    QSaveFile file(m_file);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QJsonDocument(*root).toJson(QJsonDocument::Indented));
        file.commit();
    }
}

#endif

bool RegistryStore::hasSavedSet()
{
    return readNumber(QStringLiteral("ID")) == 1;
}

QString RegistryStore::readText(const QString& name)
{
    const QJsonObject v = readValue(name);
    const QString type = v.value(QStringLiteral("type")).toString();
    if (type == kSz)
        return v.value(QStringLiteral("data")).toString();
    if (type == kExpandSz)
        return expandEnvironment(v.value(QStringLiteral("data")).toString());
    return {};
}

int RegistryStore::readNumber(const QString& name)
{
    const QJsonObject v = readValue(name);
    if (v.value(QStringLiteral("type")).toString() != kDword)
        return 0;
    return int(quint32(v.value(QStringLiteral("data")).toInteger()));
}

void RegistryStore::writeText(const QString& name, const QString& value)
{
    writeValue(name, kSz, value);
}

void RegistryStore::writeExpandableText(const QString& name, const QString& value)
{
    writeValue(name, kExpandSz, value);
}

void RegistryStore::writeNumber(const QString& name, int value)
{
    writeValue(name, kDword, qint64(quint32(value)));
}

void RegistryStore::markSaved(bool saved)
{
    writeNumber(QStringLiteral("ID"), saved ? 1 : 0);
}

} // namespace mv
