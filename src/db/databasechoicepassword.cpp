#include "db/databasechoicepassword.h"

#include "common/replacementfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#ifdef MORVANE_HAVE_KEYCHAIN
#include <qt6keychain/keychain.h>
#endif

namespace mv {

namespace {

bool g_keyringEnabled = true;

const QString kKeyringService = u"Morvane 数据库服务器"_qs;

#ifdef MORVANE_HAVE_KEYCHAIN
// Runs a keyring job to its end (the keyring answers asynchronously); true on success.
bool runJob(QKeychain::Job& job, QString* error = nullptr)
{
    job.setAutoDelete(false);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    if (error)
        *error = job.errorString();
    return job.error() == QKeychain::NoError;
}
#endif

bool keyringUsable()
{
#ifdef MORVANE_HAVE_KEYCHAIN
    return g_keyringEnabled && QCoreApplication::instance();
#else
    return false;
#endif
}

bool writeKeyring(const QString& account, const QString& password, QString* error)
{
#ifdef MORVANE_HAVE_KEYCHAIN
    if (!keyringUsable())
        return false;
    QKeychain::WritePasswordJob job(kKeyringService);
    job.setKey(account);
    job.setTextData(password);
    return runJob(job, error);
#else
    Q_UNUSED(account);
    Q_UNUSED(password);
    Q_UNUSED(error);
    return false;
#endif
}

QString readKeyring(const QString& account)
{
#ifdef MORVANE_HAVE_KEYCHAIN
    if (!keyringUsable())
        return {};
    QKeychain::ReadPasswordJob job(kKeyringService);
    job.setKey(account);
    return runJob(job) ? job.textData() : QString();
#else
    Q_UNUSED(account);
    return {};
#endif
}

void eraseKeyring(const QString& account)
{
#ifdef MORVANE_HAVE_KEYCHAIN
    if (!keyringUsable())
        return;
    QKeychain::DeletePasswordJob job(kKeyringService);
    job.setKey(account);
    runJob(job);
#else
    Q_UNUSED(account);
#endif
}

// The file holds one account and its password, as JSON.
QJsonObject readFile()
{
    QFile file(passwordFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // A file someone made readable to others is closed again.
    constexpr QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                QFileDevice::WriteOther | QFileDevice::ExeOther;
    if (file.permissions() & others)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return QJsonDocument::fromJson(file.readAll()).object();
}

bool writeFile(const QString& account, const QString& password, QString* error)
{
    const QString path = passwordFilePath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        *error =
            u"无法建立目录 %1"_qs.arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath()));
        return false;
    }
    const QJsonObject content{{u"account"_qs, account}, {u"password"_qs, password}};
    return replaceFileContent(path, QJsonDocument(content).toJson(), error,
                              ReplacementFile::OwnerOnly);
}

} // namespace

void setKeyringEnabled(bool enabled)
{
    g_keyringEnabled = enabled;
}

QString passwordFilePath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
        .filePath(u"server-password.json"_qs);
}

PasswordStored keepServerPassword(const QString& account, const QString& password)
{
    PasswordStored stored;
    QString keyringError;
    if (writeKeyring(account, password, &keyringError)) {
        // Only one place holds it: a copy left in the file would outlive the keyring entry.
        if (readFile().value(u"account"_qs).toString() == account)
            QFile::remove(passwordFilePath());
        stored.place = PasswordPlace::Keyring;
        return stored;
    }
    QString fileError;
    if (writeFile(account, password, &fileError)) {
        stored.place = PasswordPlace::File;
        return stored;
    }
    stored.error = u"无法保存密码：%1"_qs.arg(fileError);
    return stored;
}

QString keptServerPassword(const QString& account, PasswordPlace place)
{
    if (place == PasswordPlace::Keyring)
        return readKeyring(account);
    if (place == PasswordPlace::File) {
        const QJsonObject kept = readFile();
        // A password kept for another server is never sent to this one.
        if (kept.value(u"account"_qs).toString() == account)
            return kept.value(u"password"_qs).toString();
    }
    return {};
}

void forgetServerPassword(const QString& account)
{
    eraseKeyring(account);
    if (QFile::exists(passwordFilePath()))
        QFile::remove(passwordFilePath());
}

QString passwordPlaceText(PasswordPlace place)
{
    switch (place) {
    case PasswordPlace::Keyring:
        return u"密码保存在系统密钥环中。"_qs;
    case PasswordPlace::File:
        return u"密码保存在只有您能读的文件中：%1"_qs.arg(
            QDir::toNativeSeparators(passwordFilePath()));
    case PasswordPlace::None:
        break;
    }
    return u"密码不保存，程序启动时询问。"_qs;
}

} // namespace mv
