#pragma once
// Reading stored documents: the lines of one document, the ordered list of document numbers
// the pages step through, and the lists a new document's drop-downs offer.

#include "documents/document.h"

#include <optional>

namespace mv {

class Connection;

// A stored document as the form shows it. The header holds the values of the last line read;
// auditor is the requisition header's 审核.
struct LoadedDocument
{
    DocumentHeader header;
    QList<DocumentLine> lines;
    QString auditor;
};

// The lines of the document in the order they were stored; an empty list when it has none.
// nullopt when the database could not be read (error text in *error).
std::optional<LoadedDocument> loadDocument(Connection& connection, DocumentKind kind,
                                           const QString& number, QString* error = nullptr);

// The auditor stored in the requisition's header (empty when none); nullopt when it could not
// be read.
std::optional<QString> storedAuditor(Connection& connection, const QString& number);

// The numbers of the stored document headers of the kind, in "单号 ASC" order; nullopt when
// they could not be read (error text in *error).
std::optional<QStringList> documentNumbers(Connection& connection, DocumentKind kind,
                                           QString* error = nullptr);

// The number a new document of the kind takes: the one after the highest stored number
// (nextFreeDocumentNumber), whatever the page shows.
std::optional<QString> nextFreeNumber(Connection& connection, DocumentKind kind,
                                      QString* error = nullptr);

// The drop-down lists of a new document, each from its own DISTINCT query.
struct DropDownLists
{
    QStringList names;      // 原材料名字 of every line
    QStringList models;     // 型号
    QStringList units;      // 单位
    QStringList categories; // 分类
    QStringList parties;    // 供应单位 of the lines of the document's own direction
};
std::optional<DropDownLists> loadDropDownLists(Connection& connection, DocumentKind kind,
                                               QString* error = nullptr);

} // namespace mv
