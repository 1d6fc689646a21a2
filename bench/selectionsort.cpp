#include "selectionsort.h"

#include "common/oledate.h"
#include "common/reportlistmodel.h"
#include "common/texts.h"

#include <QList>
#include <cmath>

namespace mv {

namespace {

double dateKey(const QString& text)
{
    double d = std::clamp(textToDate(text), kNoDate, kMaxDate);
    return d < 0 ? 2 * std::trunc(d) - d : d;
}

} // namespace

void selectionSortReportList(ReportListModel& list, int column, bool ascending, int caseFlag,
                             int keyType)
{
    const int n = list.rowCount();
    const int c = list.columnCount();
    if (n == 0)
        return;
    QList<QStringList> snapshot(n);
    for (int r = 0; r < n; ++r)
        for (int j = 0; j < c; ++j)
            snapshot[r].append(list.text(r, j));

    struct Entry
    {
        QString text;
        QByteArray key;
        int row;
    };
    QList<Entry> keys;
    for (int r = 0; r < n; ++r)
        keys.append(Entry{list.text(r, column), gbkBytes(list.text(r, column)), r});

    QList<int> order;
    while (keys.size() >= 2) {
        QByteArray best = keys.at(0).key;
        QString bestText = keys.at(0).text;
        int bestRow = keys.at(0).row;
        qsizetype position = 0;
        for (qsizetype i = 1; i < keys.size(); ++i) {
            bool take = false;
            if (keyType == 10) {
                QByteArray a = best;
                if (!(caseFlag & 1)) {
                    a = upperGbk(a);
                    keys[i].key = upperGbk(keys.at(i).key);
                }
                const int cmp = compareBytes(a, keys.at(i).key);
                take = ascending ? cmp >= 0 : cmp <= 0;
            } else if (keyType == 8) {
                const double a = dateKey(bestText);
                const double b = dateKey(keys.at(i).text);
                take = ascending ? b <= a : a <= b;
            } else {
                const double a = toNumber(bestText);
                const double b = toNumber(keys.at(i).text);
                take = ascending ? a - b >= -1e-7 : a - b <= 1e-7;
            }
            if (take) {
                best = keys.at(i).key;
                bestText = keys.at(i).text;
                bestRow = keys.at(i).row;
                position = i;
            }
        }
        order.append(bestRow);
        keys.removeAt(position);
    }
    order.append(keys.at(0).row);

    for (int k = 0; k < n; ++k)
        for (int j = 0; j < c; ++j)
            list.setText(k, j, snapshot.at(order.at(k)).at(j));
}

} // namespace mv
