#include "workbookreader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace mv::test {

ReadWorkbook readWorkbook(const QString& path)
{
    ReadWorkbook book;
    const QString script = QStringLiteral(MORVANE_TEST_SUPPORT_DIR "/readworkbook.py");
    QProcess reader;
    reader.start(QStringLiteral("/usr/bin/python3"), {script, path});
    if (!reader.waitForFinished(120000) || reader.exitCode() != 0) {
        book.error = QString::fromUtf8(reader.readAllStandardError());
        return book;
    }
    const QJsonObject root = QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
    for (const QJsonValue& sheetValue : root.value(QStringLiteral("sheets")).toArray()) {
        const QJsonObject sheetObject = sheetValue.toObject();
        ReadSheet sheet;
        sheet.name = sheetObject.value(QStringLiteral("name")).toString();
        sheet.nonTextCells = sheetObject.value(QStringLiteral("nontext")).toInt();
        for (const QJsonValue& rowValue : sheetObject.value(QStringLiteral("rows")).toArray()) {
            QStringList row;
            for (const QJsonValue& cell : rowValue.toArray())
                row.append(cell.toString());
            sheet.rows.append(row);
        }
        book.sheets.append(sheet);
    }
    book.ok = true;
    return book;
}

QList<QStringList> withoutTrailingEmpties(QList<QStringList> rows)
{
    for (QStringList& row : rows)
        while (!row.isEmpty() && row.last().isEmpty())
            row.removeLast();
    return rows;
}

} // namespace mv::test
