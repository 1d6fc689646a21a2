#pragma once
// A scratch database with the program's own schema (tables, collations, indexes), for the
// stock tests.

#include "db/builders.h"
#include "db/connection.h"
#include "db/datastore.h"
#include "support/testserver.h"

#include <QTemporaryDir>
#include <QVariant>
#include <QtTest>
#include <memory>

namespace mv::testing {

class StockTestDb
{
public:
    StockTestDb()
    {
        QVERIFY(m_dir.isValid());
        QString error;
        if (mv::test::onTestServer()) {
            m_server = std::make_unique<mv::test::ScratchServerDatabase>();
            QVERIFY(m_server->isValid());
            QVERIFY2(connection.openUrl(m_server->url(), &error), qPrintable(error));
        } else {
            QVERIFY(connection.openSqlite(m_dir.filePath(QStringLiteral("stock.db"))));
        }
        QVERIFY2(createSchema(connection, &error), qPrintable(error));
    }

    // quantity: a QString is written as a text literal, numbers as number literals (which the
    // text column stores as their text), a null QVariant as NULL.
    void line(const QString& direction, const QString& date, const QString& name,
              const QString& model, const QVariant& quantity,
              const QString& category = QStringLiteral("铝材"),
              const QString& unit = QStringLiteral("支"),
              const QString& document = QStringLiteral("00000001"),
              const QString& maker = QStringLiteral("admin"))
    {
        QString value;
        if (quantity.isNull())
            value = QStringLiteral("NULL");
        else if (quantity.typeId() == QMetaType::QString)
            value = sqlQuoted(quantity.toString());
        else
            value = quantity.toString();
        QVERIFY2(connection.execute(
                     u"INSERT INTO yclnote (单据号, 正负, 日期, 分类, 原材料名字, 型号,"
                     " 单位, 数量, 制单人) VALUES ("_qs +
                     sqlQuoted(document) + u", "_qs + sqlQuoted(direction) + u", "_qs +
                     sqlQuoted(date) + u", "_qs + sqlQuoted(category) + u", "_qs + sqlQuoted(name) +
                     u", "_qs + sqlQuoted(model) + u", "_qs + sqlQuoted(unit) + u", "_qs + value +
                     u", "_qs + sqlQuoted(maker) + u")"_qs),
                 qPrintable(connection.lastError()));
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<mv::test::ScratchServerDatabase> m_server; // dropped after the connection

public:
    Connection connection;
};

} // namespace mv::testing
