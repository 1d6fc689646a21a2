#include "generator.h"

#include "db/builders.h"
#include "db/connection.h"

#include <QList>
#include <QRandomGenerator>
#include <QStringList>

namespace mv {

namespace {

struct Item
{
    QString category, name, unit, model;
};

QList<Item> makeItems(int count, QRandomGenerator& random)
{
    const QStringList categories{u"铝材"_qs, u"玻璃"_qs, u"五金"_qs,
                                 u"胶条"_qs, u"辅料"_qs, u"型材"_qs};
    const QStringList names{u"角铝"_qs,     u"平开窗框"_qs, u"推拉扇"_qs,  u"中空玻璃"_qs,
                            u"钢化玻璃"_qs, u"合页"_qs,     u"执手"_qs,    u"密封胶条"_qs,
                            u"结构胶"_qs,   u"螺钉"_qs,     u"Profile"_qs, u"gasket"_qs};
    const QStringList units{u"支"_qs, u"米"_qs, u"块"_qs, u"个"_qs, u"套"_qs, u"kg"_qs};
    QList<Item> items;
    items.reserve(count);
    for (int i = 0; i < count; ++i) {
        // Now and then an item repeats the name and model of an earlier one under another
        // category or unit: two list rows sharing one balance.
        if (i > 10 && random.bounded(100) < 3) {
            Item twin = items.at(int(random.bounded(i)));
            twin.category = categories.at(int(random.bounded(categories.size())));
            twin.unit = units.at(int(random.bounded(units.size())));
            items.append(twin);
            continue;
        }
        items.append(Item{categories.at(int(random.bounded(categories.size()))),
                          names.at(i % names.size()) + QString::number(i / names.size()),
                          units.at(int(random.bounded(units.size()))),
                          QStringLiteral("M%1-%2").arg(10 + i % 90).arg(random.bounded(1000))});
    }
    return items;
}

QString fullWidth(const QString& ascii)
{
    QString wide;
    for (QChar ch : ascii)
        wide += QChar(ch.unicode() - 0x21 + 0xFF01);
    return wide;
}

QString quantityText(QRandomGenerator& random)
{
    const int kind = int(random.bounded(1000));
    const int whole = int(random.bounded(1, 200));
    if (kind < 900)
        return QString::number(whole);
    if (kind < 950)
        return QString::number(whole) + u'.' + QString::number(random.bounded(10));
    if (kind < 970)
        return fullWidth(QString::number(whole));
    if (kind < 980)
        return QString();
    if (kind < 990)
        return u"若干"_qs;
    return u' ' + QString::number(whole) + u"件"_qs;
}

} // namespace

bool generateStockData(Connection& connection, const GeneratorOptions& options, QString* error)
{
    QRandomGenerator random(options.seed);
    const QList<Item> items = makeItems(options.items, random);
    const QStringList makers{u"admin"_qs, u"张三"_qs, u"李四"_qs};
    const QStringList partners{u"华信铝业"_qs, u"北方玻璃"_qs, u"一号楼项目"_qs, u"二号楼项目"_qs};
    const qint64 days = std::max<qint64>(1, options.firstDate.daysTo(options.lastDate) + 1);
    const int requisitionPerMille = int(options.requisitionShare * 1000);

    Transaction transaction(connection);
    const QString lineInsert =
        u"INSERT INTO yclnote (原材料名字, 单位, 制单人, 供应单位, 数量, 单价, 单据号, 分类, 备注, "
        "型号, 日期, 正负) VALUES "_qs;
    QString lines;
    QString headers;
    int pendingLines = 0;
    int pendingHeaders = 0;
    auto flush = [&]() {
        bool ok = true;
        if (pendingLines)
            ok = connection.execute(lineInsert + lines);
        if (ok && pendingHeaders)
            ok = connection.execute(u"INSERT INTO ycldate (单号, 出入) VALUES "_qs + headers);
        lines.clear();
        headers.clear();
        pendingLines = pendingHeaders = 0;
        return ok;
    };

    bool ok = true;
    int receipts = 0, requisitions = 0;
    for (int d = 0; d < options.documents; ++d) {
        const bool requisition = int(random.bounded(1000)) < requisitionPerMille;
        const QString number = QStringLiteral("%1").arg(requisition ? ++requisitions : ++receipts,
                                                        8, 10, QLatin1Char('0'));
        const QString date =
            connection.dialect().dateValue(options.firstDate.addDays(random.bounded(days)));
        const QString direction = requisition ? u"出库"_qs : u"入库"_qs;
        const QString maker = makers.at(int(random.bounded(makers.size())));
        const QString partner = partners.at(int(random.bounded(partners.size())));
        headers += (pendingHeaders++ ? u","_qs : QString()) + u"("_qs + sqlQuoted(number) +
                   u","_qs + sqlQuoted(requisition ? u"出"_qs : u"入"_qs) + u")"_qs;
        for (int l = 0; l < options.linesPerDocument; ++l) {
            const Item& item = items.at(int(random.bounded(items.size())));
            lines +=
                (pendingLines++ ? u","_qs : QString()) + u"("_qs + sqlQuoted(item.name) + u","_qs +
                sqlQuoted(item.unit) + u","_qs + sqlQuoted(maker) + u","_qs + sqlQuoted(partner) +
                u","_qs + sqlQuoted(quantityText(random)) + u","_qs +
                (requisition ? u"NULL"_qs : sqlQuoted(QString::number(random.bounded(1, 500)))) +
                u","_qs + sqlQuoted(number) + u","_qs + sqlQuoted(item.category) + u",''," +
                sqlQuoted(item.model) + u","_qs + sqlQuoted(date) + u","_qs + sqlQuoted(direction) +
                u")"_qs;
        }
        if (pendingLines >= 500 && !(ok = flush()))
            break;
    }
    if (!ok || !flush() || !transaction.commit()) {
        if (error)
            *error = connection.lastError();
        return false;
    }
    return true;
}

} // namespace mv
