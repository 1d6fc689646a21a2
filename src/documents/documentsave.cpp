#include "documents/documentsave.h"

#include "db/builders.h"
#include "db/changecounter.h"
#include "db/connection.h"
#include "documents/databasefailure.h"
#include "documents/documentrules.h"
#include "documents/quantity.h"
#include "documents/stockcheck.h"

namespace mv {

namespace {

const QString kError = QStringLiteral("错误");
const QString kHint = QStringLiteral("提示");

// The header of a number and kind: the condition and the values it binds.
const QString kHeaderCondition = u"单号=? and 出入=?"_qs;

QVariantList headerValues(DocumentKind kind, const QString& number)
{
    return {number, documentRules(kind).headerDirection};
}

bool isStored(Connection& connection, DocumentKind kind, const QString& number, bool* failed)
{
    std::unique_ptr<ResultSet> header = connection.query(
        u"select * from ycldate where "_qs + kHeaderCondition, headerValues(kind, number), true);
    *failed = !header;
    return header && !header->eof();
}

// Removes lines and header; counts the rows removed.
bool removeDocument(Connection& connection, DocumentKind kind, const QString& number, int* removed)
{
    *removed = 0;
    if (!connection.execute(u"delete from yclnote where 单据号=? and 正负=?"_qs,
                            {number, documentRules(kind).lineDirection}))
        return false;
    *removed += std::max(0, connection.rowsAffected());
    if (!connection.execute(u"delete from ycldate where "_qs + kHeaderCondition,
                            headerValues(kind, number)))
        return false;
    *removed += std::max(0, connection.rowsAffected());
    return true;
}

const QString kDuplicateNumber = QStringLiteral("单据号重复，无法录入系统！");

DocumentOutcome duplicateNumber(const Document& document)
{
    return DocumentOutcome::refused(kDuplicateNumber, kError,
                                    documentRules(document.kind).duplicateFocus);
}

QString headerText(const DocumentHeader& h, DocumentField field)
{
    switch (field) {
    case DocumentField::Number:
        return h.number;
    case DocumentField::Party:
        return h.party;
    case DocumentField::Category:
        return h.category;
    case DocumentField::Maker:
        return h.maker;
    default:
        return {};
    }
}

// The header tests and the duplicate test, in the kind's order.
DocumentOutcome checkHeader(Connection& connection, const Document& document)
{
    for (const HeaderCheck& check : documentRules(document.kind).headerChecks) {
        if (check.field != DocumentField::None) {
            if (headerText(document.header, check.field).isEmpty())
                return DocumentOutcome::refused(check.emptyMessage, kError, check.field);
            continue;
        }
        bool failed = false;
        const bool stored = isStored(connection, document.kind, document.header.number, &failed);
        if (failed)
            return databaseFailure(connection, u"查询单据号"_qs);
        if (stored)
            return duplicateNumber(document);
    }
    return DocumentOutcome::success();
}

// Every quantity a plain number greater than zero that the stock can count, stored in its
// plain form; the first line that has none is refused, named by its grid row.
DocumentOutcome takeQuantities(Document& document)
{
    for (qsizetype i = 0; i < document.lines.size(); ++i) {
        DocumentLine& line = document.lines[i];
        const std::optional<QString> quantity = plainQuantity(line.cell(LineQuantity));
        const int row = line.gridRow(i);
        if (!quantity)
            return DocumentOutcome::refused(u"第 "_qs + QString::number(row) +
                                                u" 行的数量必须是大于 0 的数字"_qs,
                                            kError, DocumentField::Quantity, row);
        if (quantityTooLarge(*quantity))
            return DocumentOutcome::refused(u"第 "_qs + QString::number(row) +
                                                u" 行的数量太大，最多 "_qs +
                                                QString::number(kLargestQuantity),
                                            kError, DocumentField::Quantity, row);
        while (line.cells.size() <= LineQuantity)
            line.cells.append(QString());
        line.cells[LineQuantity] = *quantity;
    }
    return DocumentOutcome::success();
}

DocumentOutcome checkLines(Connection& connection, Document& document)
{
    if (documentRules(document.kind).issuesGoods) {
        if (document.lines.isEmpty())
            return DocumentOutcome::refused(u"表单中没有数据，无法保存！"_qs, u"添加失败"_qs);
        if (DocumentOutcome quantities = takeQuantities(document); !quantities.done)
            return quantities;
        return checkStock(connection, document.lines);
    }
    if (document.lines.isEmpty())
        return DocumentOutcome::refused(u"表单中重要参数不能为空"_qs, u"添加失败"_qs);
    // The first line without a name, quantity or unit is refused, with that cell to fill in.
    for (qsizetype i = 0; i < document.lines.size(); ++i) {
        const DocumentLine& line = document.lines.at(i);
        for (const auto& [column, field] : {std::pair{LineName, DocumentField::LineName},
                                            std::pair{LineQuantity, DocumentField::Quantity},
                                            std::pair{LineUnit, DocumentField::LineUnit}})
            if (line.cell(column).isEmpty())
                return DocumentOutcome::refused(u"表单中重要参数不能为空"_qs, u"添加失败"_qs, field,
                                                line.gridRow(i));
    }
    return takeQuantities(document);
}

// Stores one line: its columns in the stored order of its kind, and their values.
bool insertLine(Connection& connection, const Document& document, const DocumentLine& line,
                const QString& dateValue)
{
    const DocumentHeader& h = document.header;
    const DocumentRules& rules = documentRules(document.kind);
    QStringList columns = {u"原材料名字"_qs, u"单位"_qs, u"制单人"_qs, u"供应单位"_qs, u"数量"_qs};
    QVariantList values = {line.cell(LineName), line.cell(LineUnit), h.maker, h.party,
                           line.cell(LineQuantity)};
    if (rules.priced) {
        columns.append(u"单价"_qs);
        values.append(line.cell(ReceiptPrice));
    }
    columns << u"单据号"_qs << u"分类"_qs << u"备注"_qs << u"型号"_qs << u"日期"_qs << u"正负"_qs;
    values << h.number << h.category << line.cell(rules.remarkColumn) << line.cell(LineModel)
           << dateValue << rules.lineDirection;
    return connection.execute(buildInsert(u"yclnote"_qs, columns), values);
}

bool recordProject(Connection& connection, const QString& project)
{
    std::unique_ptr<ResultSet> known =
        connection.query(buildSelect(u"date"_qs, u"x=? and y='出库项目'"_qs), {project}, true);
    if (!known)
        return false;
    if (!known->eof())
        return true;
    known->close();
    return connection.execute(u"INSERT INTO [date] (x,y) VALUES (?,'出库项目')"_qs, {project});
}

QString documentKey(DocumentKind kind, const QString& number)
{
    return u"单据\x1f"_qs + documentRules(kind).headerDirection + u'\x1f' + number;
}

// Several clerks may save at once on a database server. Every operation on a document first
// takes a lock on its number and direction (and on the number it replaces), and a
// requisition on each item it issues; the locks last until the transaction ends. So the
// duplicate test and the stock check run with no other save of that number or item in
// flight, and, as each statement reads what was committed before it started, they see the
// other clerks' finished documents. Locks are taken in one fixed order, so two saves never
// wait on each other. (Serializable isolation would do as well, but needs a retry loop
// around the whole save; the locks make a waiting clerk simply wait.) A unique index on the
// header backs the number up.
bool lockDocumentWork(Connection& connection, const Document& document,
                      const std::optional<QString>& replacing)
{
    QStringList keys = {documentKey(document.kind, document.header.number)};
    if (replacing)
        keys.append(documentKey(document.kind, *replacing));
    if (documentRules(document.kind).issuesGoods)
        keys += itemLockKeys(document.lines);
    return connection.lockKeys(keys);
}

bool writeDocument(Connection& connection, const Document& document)
{
    const QString dateValue = connection.dialect().dateValue(document.header.date);
    for (const DocumentLine& line : document.lines)
        if (!insertLine(connection, document, line, dateValue))
            return false;
    if (documentRules(document.kind).issuesGoods &&
        !recordProject(connection, document.header.party))
        return false;
    return connection.execute(buildInsert(u"ycldate"_qs, {u"单号"_qs, u"出入"_qs}),
                              headerValues(document.kind, document.header.number));
}

// A document the page showed in another version than the stored one: another clerk saved
// his change first. A document stored no more is left to the deletion test that follows.
bool changedSinceShown(Connection& connection, DocumentKind kind, const QString& number,
                       const QString& shownVersion)
{
    if (shownVersion.isEmpty())
        return false;
    const QString stored = storedDocumentVersion(connection, kind, number);
    return !stored.isEmpty() && stored != shownVersion;
}

DocumentOutcome changedMeanwhile(const QString& number, const QString& what)
{
    return DocumentOutcome::refused(u"单据号："_qs + number + u"已被其他用户修改，"_qs + what +
                                        u"没有保存！请重新打开该单据后再"_qs + what + u"。"_qs,
                                    kHint);
}

} // namespace

bool refusedAsDuplicateNumber(const DocumentOutcome& outcome)
{
    return !outcome.done && outcome.message == kDuplicateNumber;
}

QString storedDocumentVersion(Connection& connection, DocumentKind kind, const QString& number)
{
    // The stored position takes part: a document saved again gets new lines even when their
    // texts are the same.
    const QString order = connection.dialect().storedOrder();
    const QString columns =
        u"日期, 分类, 原材料名字, 型号, 单位, 数量, 单价, 供应单位, 制单人, 备注"_qs;
    std::unique_ptr<ResultSet> lines =
        connection.query(u"select "_qs + order + u", "_qs + columns +
                             u" from yclnote where 单据号=? and 正负=? order by "_qs + order,
                         {number, documentRules(kind).lineDirection}, true);
    const int count = 1 + int(columns.count(u',')) + 1; // the stored position, the columns
    QString version;
    for (; lines && !lines->eof(); lines->next()) {
        for (int i = 0; i < count; ++i)
            version += lines->field(i) + u'\x1f';
        version += u'\x1e';
    }
    return version;
}

DocumentOutcome saveDocument(Connection& connection, const Document& form,
                             const std::optional<QString>& replacing, const QString& shownVersion)
{
    const QString action = u"保存单据"_qs;
    Document document = withoutBlankLines(form);
    Transaction transaction(connection);
    if (!transaction.active())
        return databaseFailure(connection, action);
    if (!lockDocumentWork(connection, document, replacing))
        return databaseFailure(connection, action);
    if (replacing && changedSinceShown(connection, document.kind, *replacing, shownVersion))
        return changedMeanwhile(*replacing, u"修改"_qs);
    ReceiptStockGuard stockGuard;
    if (replacing && document.kind == DocumentKind::Receipt &&
        !stockGuard.take(connection, *replacing))
        return databaseFailure(connection, action);
    int removed = 0;
    if (replacing && !removeDocument(connection, document.kind, *replacing, &removed))
        return databaseFailure(connection, action);
    // Another clerk deleted the document while this one was changing it: saving now would
    // bring it back under his feet.
    if (replacing && removed == 0)
        return DocumentOutcome::refused(
            u"单据号："_qs + *replacing + u"已被其他用户删除，修改没有保存！"_qs, kHint);
    if (DocumentOutcome header = checkHeader(connection, document); !header.done)
        return header;
    if (DocumentOutcome lines = checkLines(connection, document); !lines.done)
        return lines;
    if (!writeDocument(connection, document)) {
        // The unique index caught a number the re-check could not see.
        if (connection.lastErrorWasDuplicateKey())
            return duplicateNumber(document);
        return databaseFailure(connection, action);
    }
    if (std::optional<DocumentOutcome> refused = stockGuard.refusal(connection, u"修改"_qs))
        return *refused;
    if (!countChange(connection) || !transaction.commit())
        return databaseFailure(connection, action);
    return DocumentOutcome::success();
}

DocumentOutcome deleteDocument(Connection& connection, DocumentKind kind, const QString& number,
                               const QString& shownVersion)
{
    if (number.isEmpty())
        return DocumentOutcome::refused(u"没有可以删除的单据！"_qs, kHint);
    const QString action = u"删除单据"_qs;
    Transaction transaction(connection);
    if (!transaction.active())
        return databaseFailure(connection, action);
    if (!connection.lockKeys({documentKey(kind, number)}))
        return databaseFailure(connection, action);
    if (changedSinceShown(connection, kind, number, shownVersion))
        return changedMeanwhile(number, u"删除"_qs);
    ReceiptStockGuard stockGuard;
    if (kind == DocumentKind::Receipt && !stockGuard.take(connection, number))
        return databaseFailure(connection, action);
    int removed = 0;
    if (!removeDocument(connection, kind, number, &removed))
        return databaseFailure(connection, action);
    if (removed == 0)
        return DocumentOutcome::refused(u"单据号："_qs + number + u"没有保存，无法删除！"_qs,
                                        kHint);
    if (std::optional<DocumentOutcome> refused = stockGuard.refusal(connection, u"删除"_qs))
        return *refused;
    if (!countChange(connection) || !transaction.commit())
        return databaseFailure(connection, action);
    return DocumentOutcome::success(u"单据号："_qs + number + u"删除成功！"_qs, kHint);
}

DocumentOutcome auditRequisition(Connection& connection, const AuditRequest& request)
{
    if (!request.auditRight)
        return DocumentOutcome::refused(u"当前用户没有权限审核，请让系统管理员添加权限！"_qs,
                                        kHint);
    if (!request.auditorShown.isEmpty())
        return DocumentOutcome::refused(u"该单已经审核！"_qs, kHint);
    const DocumentOutcome unsaved =
        DocumentOutcome::refused(u"单子还没有保存，无法审核！"_qs, kHint);
    if (request.formEditable || request.number.isEmpty())
        return unsaved;
    Transaction transaction(connection);
    if (!transaction.active())
        return databaseFailure(connection, u"审核"_qs);
    // The version audited is the one the clerk sees: one another clerk changed since is not.
    if (!connection.lockKeys({documentKey(DocumentKind::Requisition, request.number)}))
        return databaseFailure(connection, u"审核"_qs);
    if (changedSinceShown(connection, DocumentKind::Requisition, request.number,
                          request.shownVersion))
        return changedMeanwhile(request.number, u"审核"_qs);
    // Only a header without auditor takes the name: of two clerks auditing at once, the
    // second finds the first one's name stored and is told so.
    if (!connection.execute(buildUpdate(u"ycldate"_qs, u"审核=?"_qs,
                                        u"出入='出' and 单号=? and (审核 is null or 审核='')"_qs),
                            {request.user, request.number}))
        return databaseFailure(connection, u"审核"_qs);
    const int updated = connection.rowsAffected();
    if (updated == 0) {
        bool failed = false;
        const bool stored =
            isStored(connection, DocumentKind::Requisition, request.number, &failed);
        if (failed)
            return databaseFailure(connection, u"审核"_qs);
        return stored ? DocumentOutcome::refused(u"该单已经审核！"_qs, kHint) : unsaved;
    }
    if (updated != 1)
        return unsaved; // the guard rolls back an update of several headers
    if (!countChange(connection) || !transaction.commit())
        return databaseFailure(connection, u"审核"_qs);
    return DocumentOutcome::success();
}

} // namespace mv
