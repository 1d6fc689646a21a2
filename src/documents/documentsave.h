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
Outcome saveDocument(Connection& connection, const Document& document,
                     const std::optional<QString>& replacing = std::nullopt);

// Removes a stored document (lines and header). Refuses an empty number and one that is
// not stored; on success the message is "单据号：" + number + "删除成功！".
Outcome deleteDocument(Connection& connection, DocumentKind kind, const QString& number);

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
