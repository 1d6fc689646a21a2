#pragma once
// What a report preview is built from: the request gathered from the settings window and a
// snapshot of the source list taken when the build starts.

#include "common/reportlistmodel.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace mv {

struct CustomColumn
{
    QString name;
    QString formula;
    bool operator==(const CustomColumn&) const = default;
};

// Totals kinds (first member of the totals array).
inline const QString kTotalsNone = QStringLiteral("零");
inline const QString kTotalsCount = QStringLiteral("一");
inline const QString kTotalsStatistics = QStringLiteral("二");

struct TitleFont
{
    QString name = QStringLiteral("宋体");
    int colour = 0; // COLORREF
    bool bold = false;
    int size = 0; // grid units (points x 3.3)
};

struct ReportRequest
{
    QString title;
    TitleFont titleFont;
    QStringList headerParts;
    bool headerEnabled = true;
    QStringList footerParts;
    QList<int> printColumns; // 0-based list columns, ascending
    bool serial = false;
    int rowsPerPage = 0; // 0 automatic
    int lineStyle = 1;   // 1..4, 0 none
    int paper = 1;
    int orientation = 1;
    int bodyFontSize = 30;
    QString totalsKind = kTotalsNone;
    QStringList statisticsColumns; // titles, for kTotalsStatistics
    int totalsDecimals = 2;
    bool totalsSeparators = false;
    int customDecimals = 2;
    bool customSeparators = false;
    int pageNumberPosition = 0;
    int colourScheme = 0; // 0 plain, 1 built-in, 2 rows, 3 columns
    int titleRowColour = 0;
    int oddColour = 0;
    int evenColour = 0;
    QString remark;
    QList<CustomColumn> customColumns;
    bool centred = false;
};

// The list as the build sees it: its columns and the rows to print.
struct ReportSource
{
    QList<ReportColumn> columns;
    QList<QStringList> rows;
};

// Every row of the list, or only the ticked ones when it shows check boxes.
ReportSource snapshotReportList(const ReportListModel& list);

// The text split at "|": an empty text gives one empty part (header) or none (footer);
// a trailing "|" adds no part.
QStringList splitHeaderParts(const QString& text);
QStringList splitFooterParts(const QString& text);

} // namespace mv
