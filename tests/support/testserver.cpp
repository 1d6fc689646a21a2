#include "testserver.h"

#include "db/connection.h"

#include <QCoreApplication>
#include <QFile>
#include <QTest>
#include <QUrl>

#include <atomic>

namespace mv::test {

QString testServerUrl()
{
    const QString setting = qEnvironmentVariable("MORVANE_TEST_DATABASE").trimmed();
    if (!setting.startsWith(u'@'))
        return setting;
    QFile file(setting.mid(1));
    if (!file.open(QIODevice::ReadOnly)) {
        qFatal("MORVANE_TEST_DATABASE names %s, which cannot be read: is the test server up?",
               qPrintable(file.fileName()));
    }
    return QString::fromUtf8(file.readAll()).trimmed();
}

namespace {

bool runOnServer(const QString& sql, QString* error)
{
    Connection admin;
    if (!admin.openUrl(testServerUrl(), error))
        return false;
    if (!admin.execute(sql)) {
        *error = admin.lastError();
        return false;
    }
    return true;
}

} // namespace

ScratchServerDatabase::ScratchServerDatabase(const QString& createOptions)
{
    static std::atomic<int> counter{0};
    m_name = QStringLiteral("mvt_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
    QString error;
    runOnServer(u"DROP DATABASE IF EXISTS "_qs + m_name + u" WITH (FORCE)"_qs, &error);
    const bool created =
        runOnServer(u"CREATE DATABASE "_qs + m_name + u' ' + createOptions, &error);
    QVERIFY2(created, qPrintable(u"cannot create the scratch database: "_qs + error));
    QUrl url(testServerUrl());
    url.setPath(u'/' + m_name);
    m_url = url.toString();
}

ScratchServerDatabase::~ScratchServerDatabase()
{
    QString error;
    if (!m_name.isEmpty())
        runOnServer(u"DROP DATABASE IF EXISTS "_qs + m_name + u" WITH (FORCE)"_qs, &error);
}

} // namespace mv::test
