// The registry store away from Windows: a JSON file that keeps each value's registry type.
// Built everywhere but Windows, where registrystore_windows.cpp uses the real registry.

#include "print/registrystore.h"

#include "common/messages.h"
#include "common/replacementfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

namespace mv {

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
    // A store that cannot be written is noted (see writeFailed()); the preview goes on.
    std::optional<QJsonObject> root = readRoot();
    if (!root) {
        noteWrite(false); // a damaged file that could not be set aside is left as it is
        return;
    }
    QJsonObject key = root->value(m_key).toObject();
    key.insert(name, QJsonObject{{QStringLiteral("type"), type}, {QStringLiteral("data"), data}});
    root->insert(m_key, key);
    QDir().mkpath(QFileInfo(m_file).absolutePath());
    QString error;
    noteWrite(
        replaceFileContent(m_file, QJsonDocument(*root).toJson(QJsonDocument::Indented), &error));
}

} // namespace mv
