#include "tempdatastore.h"

#include "db/builders.h"

#include <QDir>
#include <QTest>

namespace mv::test {

namespace {

QString quantityLiteral(const QVariant& quantity)
{
    if (quantity.isNull())
        return QStringLiteral("NULL");
    if (quantity.typeId() == QMetaType::QString)
        return sqlQuoted(quantity.toString());
    return quantity.toString();
}

} // namespace

TempDataStore::TempDataStore(const OpenOptions& options)
{
    QVERIFY2(m_dir.isValid(), qPrintable(m_dir.errorString()));
    QString error;
    bool opened = false;
    if (onTestServer()) {
        m_server = std::make_unique<ScratchServerDatabase>();
        QVERIFY(m_server->isValid());
        opened = openServerDatabase(m_connection, m_server->url(), options, &error);
        m_connection.setHomeDirectory(m_dir.path()); // as the program's data directory
    } else {
        opened = openDataStore(m_connection, m_dir.path(), options, &error);
    }
    QVERIFY2(opened, qPrintable(error));
    m_valid = true;
}

QString TempDataStore::databasePath() const
{
    return m_server ? QString() : QDir(m_dir.path()).filePath(QStringLiteral("db.mdb"));
}

QString TempDataStore::url() const
{
    return m_server ? m_server->url() : u"sqlite:"_qs + databasePath();
}

void TempDataStore::exec(const QString& sql)
{
    const bool ok = m_connection.execute(sql);
    QVERIFY2(ok, qPrintable(sql + QStringLiteral(" -> ") + m_connection.lastError()));
}

void TempDataStore::addLine(const QString& name, const QString& model, const QString& direction,
                            const QVariant& quantity, const QString& date, const QString& category,
                            const QString& unit, const QString& number, const QString& maker,
                            const QString& supplier)
{
    exec(buildInsert(QStringLiteral("yclnote"),
                     QStringLiteral("原材料名字=") + sqlQuoted(name) + QStringLiteral(",单位=") +
                         sqlQuoted(unit) + QStringLiteral(",制单人=") + sqlQuoted(maker) +
                         QStringLiteral(",供应单位=") + sqlQuoted(supplier) +
                         QStringLiteral(",数量=") + quantityLiteral(quantity) +
                         QStringLiteral(",单据号=") + sqlQuoted(number) + QStringLiteral(",分类=") +
                         sqlQuoted(category) + QStringLiteral(",型号=") + sqlQuoted(model) +
                         QStringLiteral(",日期=") + sqlQuoted(date) + QStringLiteral(",正负=") +
                         sqlQuoted(direction)));
}

} // namespace mv::test
