#include "documents/documentdraft.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace mv {

namespace {

QString kindName(DocumentKind kind)
{
    return kind == DocumentKind::Receipt ? u"receipt"_qs : u"requisition"_qs;
}

} // namespace

DraftFile::DraftFile(const QString& dataDirectory, const QString& database, const QString& user,
                     DocumentKind kind)
    : m_database(database), m_user(user), m_kind(kind)
{
    if (dataDirectory.isEmpty())
        return;
    // User names are typed by people and may hold any character; the hash keeps the file
    // name plain and apart for each database and user.
    const QByteArray key =
        QCryptographicHash::hash((database + u'\n' + user).toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    m_path = QDir(dataDirectory)
                 .filePath(u"drafts/"_qs + kindName(kind) + u'-' + QString::fromLatin1(key) +
                           u".json"_qs);
}

bool DraftFile::write(const DocumentDraft& draft) const
{
    if (!isValid() || !QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return false;
    const Document& document = draft.document;
    QJsonArray lines;
    for (const DocumentLine& line : withoutBlankLines(document).lines)
        lines.append(QJsonArray::fromStringList(line.cells));
    const QJsonObject json{{u"kind"_qs, kindName(m_kind)},
                           {u"database"_qs, m_database},
                           {u"user"_qs, m_user},
                           {u"written"_qs, draft.written.toString(Qt::ISODate)},
                           {u"modifying"_qs, draft.modifying},
                           {u"storedVersion"_qs, draft.storedVersion},
                           {u"number"_qs, document.header.number},
                           {u"date"_qs, document.header.date.toString(Qt::ISODate)},
                           {u"party"_qs, document.header.party},
                           {u"category"_qs, document.header.category},
                           {u"lines"_qs, lines}};
    QSaveFile file(m_path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(QJsonDocument(json).toJson(QJsonDocument::Indented)) >= 0 && file.commit();
}

std::optional<DocumentDraft> DraftFile::read() const
{
    QFile file(m_path);
    if (!isValid() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonObject json = QJsonDocument::fromJson(file.readAll()).object();
    if (json.value(u"kind"_qs).toString() != kindName(m_kind) ||
        json.value(u"database"_qs).toString() != m_database ||
        json.value(u"user"_qs).toString() != m_user)
        return std::nullopt;
    DocumentDraft draft;
    draft.written = QDateTime::fromString(json.value(u"written"_qs).toString(), Qt::ISODate);
    draft.modifying = json.value(u"modifying"_qs).toBool();
    draft.storedVersion = json.value(u"storedVersion"_qs).toString();
    Document& document = draft.document;
    document.kind = m_kind;
    document.header.number = json.value(u"number"_qs).toString();
    document.header.date = QDate::fromString(json.value(u"date"_qs).toString(), Qt::ISODate);
    document.header.party = json.value(u"party"_qs).toString();
    document.header.category = json.value(u"category"_qs).toString();
    document.header.maker = m_user;
    for (const QJsonValue& line : json.value(u"lines"_qs).toArray()) {
        DocumentLine read;
        for (const QJsonValue& cell : line.toArray())
            read.cells.append(cell.toString());
        document.lines.append(read);
    }
    return draft;
}

void DraftFile::remove() const
{
    if (isValid())
        QFile::remove(m_path);
}

} // namespace mv
