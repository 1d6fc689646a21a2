#include "documents/documentload.h"

#include "common/oledate.h"
#include "db/builders.h"
#include "db/connection.h"
#include "db/dialect.h"
#include "documents/documentnumber.h"
#include "documents/documentrules.h"

#include <tuple>

namespace mv {

namespace {

// The first column of every row; false (error text in *error) when the query failed.
bool firstColumn(Connection& connection, const QString& sql, const QVariantList& bound,
                 QStringList* values, QString* error)
{
    values->clear();
    std::unique_ptr<ResultSet> rows = connection.query(sql, bound, true);
    if (!rows) {
        if (error)
            *error = connection.lastErrorForUser();
        return false;
    }
    for (; !rows->eof(); rows->next())
        values->append(rows->field(0));
    return true;
}

QDate storedDate(const QString& text)
{
    return fromOleDate(textToDate(text)).date();
}

} // namespace

std::optional<LoadedDocument> loadDocument(Connection& connection, DocumentKind kind,
                                           const QString& number, QString* error)
{
    // Lines come back in the order they were stored, as the grid had them.
    const QString order = u" ORDER BY "_qs + connection.dialect().storedOrder();
    std::unique_ptr<ResultSet> rows =
        connection.query(u"select * from yclnote where 单据号=? and 正负=?"_qs + order,
                         {number, documentRules(kind).lineDirection}, true);
    if (!rows) {
        if (error)
            *error = connection.lastErrorForUser();
        return std::nullopt;
    }
    QList<int> at;
    for (const QString& column : documentRules(kind).storedColumns)
        at.append(rows->columnIndex(column));

    LoadedDocument document;
    for (; !rows->eof(); rows->next()) {
        DocumentLine line;
        for (int index : at)
            line.cells.append(rows->field(index));
        document.lines.append(line);
        document.header.date = storedDate(rows->field(u"日期"_qs));
        document.header.maker = rows->field(u"制单人"_qs);
        document.header.party = rows->field(u"供应单位"_qs);
        document.header.category = rows->field(u"分类"_qs);
        document.header.number = rows->field(u"单据号"_qs);
    }
    rows->close();
    if (documentRules(kind).audited && !document.lines.isEmpty()) {
        // An unread auditor would show an audited requisition as not audited.
        const std::optional<QString> auditor = storedAuditor(connection, number);
        if (!auditor) {
            if (error)
                *error = connection.lastErrorForUser();
            return std::nullopt;
        }
        document.auditor = *auditor;
    }
    return document;
}

std::optional<QString> storedAuditor(Connection& connection, const QString& number)
{
    std::unique_ptr<ResultSet> header =
        connection.query(u"select * from ycldate where 单号=? and 出入='出'"_qs, {number}, true);
    if (!header)
        return std::nullopt;
    return header->field(u"审核"_qs);
}

std::optional<QStringList> documentNumbers(Connection& connection, DocumentKind kind,
                                           QString* error)
{
    QStringList numbers;
    if (!firstColumn(connection,
                     buildSelect(u"ycldate"_qs, u"出入=?"_qs, u"单号 ASC"_qs, {}, u"单号"_qs),
                     {documentRules(kind).headerDirection}, &numbers, error))
        return std::nullopt;
    return numbers;
}

std::optional<QString> nextFreeNumber(Connection& connection, DocumentKind kind, QString* error)
{
    const std::optional<QStringList> numbers = documentNumbers(connection, kind, error);
    if (!numbers)
        return std::nullopt;
    return nextFreeDocumentNumber(*numbers);
}

std::optional<DropDownLists> loadDropDownLists(Connection& connection, DocumentKind kind,
                                               QString* error)
{
    DropDownLists lists;
    // Each item text once, Latin letter case aside, as the item columns compare.
    const Dialect& dialect = connection.dialect();
    const auto distinctItems = [&dialect](const QString& column) -> QString {
        if (dialect.backend() == Dialect::Sqlite)
            return u"select DISTINCT "_qs + column + u" from yclnote"_qs;
        return u"select min("_qs + column + u") from yclnote group by "_qs +
               dialect.itemKey(column);
    };
    const QList<std::tuple<QStringList*, QString, QVariantList>> queries{
        {&lists.names, distinctItems(u"原材料名字"_qs), {}},
        {&lists.models, distinctItems(u"型号"_qs), {}},
        {&lists.units, distinctItems(u"单位"_qs), {}},
        {&lists.categories, distinctItems(u"分类"_qs), {}},
        {&lists.parties,
         u"select DISTINCT 供应单位 from yclnote WHERE 正负=?"_qs,
         {documentRules(kind).lineDirection}},
    };
    for (const auto& [list, sql, bound] : queries)
        if (!firstColumn(connection, sql, bound, list, error))
            return std::nullopt;
    return lists;
}

} // namespace mv
