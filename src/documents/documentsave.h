#pragma once
// Saving, replacing, deleting and auditing stored documents. Each operation is one
// transaction: a refused or failed operation leaves the database exactly as it was. A
// committed one adds one to the database's change count (db/changecounter.h).

#include "documents/document.h"

#include <optional>

namespace mv {

class Connection;

// Saves the document as a new one: the header tests in the kind's order, the duplicate
// number test, the receipt line rule, the quantity rule ("第 N 行的数量必须是大于 0 的数字",
// N the line's grid row; quantities are stored in their plain form) and the requisition stock
// check, then every line, the header row and (requisitions) the project list row, all at once.
// Lines whose cells are all empty are left out. With replacing, the stored document of that
// number is removed first in the same transaction, so its number and its lines count neither
// for the duplicate test nor for the stock check; a replaced receipt whose goods were issued
// meanwhile is refused when the stock of one of its items would go below zero
// ("…库中不够 只有<stock><unit> 无法修改！").
// When shownVersion is given (see storedDocumentVersion), a replaced document that another
// clerk changed since it was shown is refused and left as he stored it.
DocumentOutcome saveDocument(Connection& connection, const Document& document,
                             const std::optional<QString>& replacing = std::nullopt,
                             const QString& shownVersion = {});

// True for the refusal of a number stored already ("单据号重复，无法录入系统！").
bool refusedAsDuplicateNumber(const DocumentOutcome& outcome);

// Removes a stored document (lines and header). Refuses an empty number, one that is not
// stored, and a receipt whose goods were issued so that the stock of one of its items would
// go below zero ("…库中不够 只有<stock><unit> 无法删除！"); on success the message is
// "单据号：" + number + "删除成功！". When shownVersion is given, a document another clerk
// changed since it was shown is refused.
DocumentOutcome deleteDocument(Connection& connection, DocumentKind kind, const QString& number,
                               const QString& shownVersion = {});

// The stored version of a document: all its stored lines, in stored order, as one text.
// A page keeps the version it shows, so that of two clerks changing one document at once
// the first to save wins and the other is told, instead of his save replacing the
// winner's work unseen. Empty when the document has no lines or they cannot be read.
QString storedDocumentVersion(Connection& connection, DocumentKind kind, const QString& number);

struct AuditRequest
{
    QString number;
    QString auditorShown; // the auditor box as it stands
    bool formEditable = false;
    QString user;
    bool auditRight = false;
    QString shownVersion = {}; // as for saveDocument: a version changed since is not audited
};
// Writes the user as the auditor of the stored requisition. Refused without the audit right,
// when an auditor is shown or already stored ("该单已经审核！": of two clerks auditing at once
// only the first is stored), and when the requisition is not stored ("单子还没有保存，无法审核！"):
// in add or modify mode, or when no stored header (exactly one) takes the name; and, when
// shownVersion is given, when another clerk changed the requisition since it was shown.
DocumentOutcome auditRequisition(Connection& connection, const AuditRequest& request);

} // namespace mv
