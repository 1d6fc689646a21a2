#pragma once
// Reading a written workbook back with an independent reader (Python's xlrd).

#include <QList>
#include <QString>
#include <QStringList>

namespace mv::test {

struct ReadSheet
{
    QString name;
    QList<QStringList> rows; // trailing empty cells dropped
    int nonTextCells = 0;
};

struct ReadWorkbook
{
    bool ok = false;
    QString error; // the reader's complaint when it could not read the file
    QList<ReadSheet> sheets;
};

ReadWorkbook readWorkbook(const QString& path);

// The rows with their trailing empty cells dropped, as readWorkbook gives them.
QList<QStringList> withoutTrailingEmpties(QList<QStringList> rows);

} // namespace mv::test
