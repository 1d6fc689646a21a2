#pragma once
// A scratch database with the movement and item tables, for the stock tests. 数量 has no
// declared type so lines can hold texts, integers and floating values side by side.

#include "data/builders.h"
#include "data/connection.h"

#include <QTemporaryDir>
#include <QVariant>
#include <QtTest>

namespace mv::testing {

class StockTestDb
{
public:
    StockTestDb()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(connection.openSqlite(m_dir.filePath(QStringLiteral("stock.db"))));
        QVERIFY(connection.execute(
            u"CREATE TABLE yclnote (单据号 TEXT, 正负 TEXT, 日期 TEXT, 分类 TEXT, 原材料名字 TEXT,"
            " 型号 TEXT, 单位 TEXT, 数量, 单价 TEXT, 供应单位 TEXT, 制单人 TEXT, 备注 TEXT)"_qs));
        QVERIFY(connection.execute(u"CREATE TABLE ycl (编号 INTEGER PRIMARY KEY, 库存分类 TEXT,"
                                   " 原材料名字 TEXT, 规格 TEXT, 单位 TEXT)"_qs));
    }

    // quantity: a QString is stored as text, numbers as numbers, a null QVariant as NULL.
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

    Connection connection;

private:
    QTemporaryDir m_dir;
};

} // namespace mv::testing
