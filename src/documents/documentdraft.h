#pragma once
// A document being typed (a new one, or a stored one being modified), kept in a file beside
// the database until it is saved or given up, so that a crash, a killed program or a power
// cut does not take the typing with it. One file per database, user and kind of document;
// that user's next login offers it back.

#include "documents/document.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace mv {

struct DocumentDraft
{
    Document document;
    QDateTime written;
    // A modification of the stored document header.number, begun on its stored version.
    bool modifying = false;
    QString storedVersion;
};

class DraftFile
{
public:
    // <dataDirectory>/drafts/<kind>-<a hash of the database and the user>.json; no draft is
    // kept without a data directory to keep it in.
    DraftFile(const QString& dataDirectory, const QString& database, const QString& user,
              DocumentKind kind);

    bool isValid() const { return !m_path.isEmpty(); }
    QString path() const { return m_path; }

    // Replaces the file whole (never half written); false when the disk refused it.
    bool write(const DocumentDraft& draft) const;
    // nullopt when there is none, or the file holds no draft of this kind for this user.
    std::optional<DocumentDraft> read() const;
    void remove() const;

private:
    QString m_path;
    QString m_database;
    QString m_user;
    DocumentKind m_kind = DocumentKind::Receipt;
};

} // namespace mv
