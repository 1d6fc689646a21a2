#include "print/reportrequest.h"

namespace mv {

ReportSource snapshotReportList(const ReportListModel& list)
{
    ReportSource source;
    source.columns = list.columns();
    const int columns = int(source.columns.size());
    source.rows.reserve(list.rowCount());
    for (int r = 0; r < list.rowCount(); ++r) {
        if (list.checkable() && list.checkState(r) != Qt::Checked)
            continue;
        QStringList cells = list.rowAt(r).cells;
        while (cells.size() < columns)
            cells.append(QString());
        source.rows.append(cells);
    }
    return source;
}

namespace {

QStringList splitParts(const QString& text)
{
    QStringList parts = text.split(QLatin1Char('|'));
    if (parts.size() > 1 && parts.last().isEmpty())
        parts.removeLast();
    return parts;
}

} // namespace

QStringList splitHeaderParts(const QString& text)
{
    return splitParts(text);
}

QStringList splitFooterParts(const QString& text)
{
    return text.isEmpty() ? QStringList() : splitParts(text);
}

} // namespace mv
