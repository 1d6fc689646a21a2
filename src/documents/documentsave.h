#pragma once
// Saving, replacing, deleting and auditing stored documents. Each operation is one
// transaction: a refused or failed operation leaves the database exactly as it was.

#include "documents/document.h"

#include <optional>

namespace mv {

class Connection;

// Saves the document as a new one: the header tests in the kind's order, the duplicate
// number test, the receipt line rule or the requisition stock check, then every line, the
// header row and (requisitions) the project list row, all at once. With replacing, the stored
// document of that number is removed first in the same transaction, so its number and its
// lines count neither for the duplicate test nor for the stock check.
// When shownVersion is given (see storedDocumentVersion), a replaced document that another
// clerk changed since it was shown is refused and left as he stored it.
Outcome saveDocument(Connection& connection, const Document& document,
                     const std::optional<QString>& replacing = std::nullopt,
                     const QString& shownVersion = {});

// Removes a stored document (lines and header). Refuses an empty number and one that is
// not stored; on success the message is "单据号：" + number + "删除成功！". When shownVersion
// is given, a document another clerk changed since it was shown is refused.
Outcome deleteDocument(Connection& connection, DocumentKind kind, const QString& number,
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
};
// Writes the user as the auditor of the stored requisition. Refused without the audit right,
// when an auditor is shown, and when the requisition is not stored ("单子还没有保存，无法审核！"):
// in add or modify mode, or when no stored header (exactly one) takes the name.
Outcome auditRequisition(Connection& connection, const AuditRequest& request);

} // namespace mv
