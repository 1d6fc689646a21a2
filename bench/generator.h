#pragma once
// Deterministic movement data for benchmarks: documents of receipt and requisition lines
// over a set of items, with the odd quantity that is a decimal, full-width, blank or no
// number at all.

#include <QDate>
#include <QString>

namespace mv {

class Connection;

struct GeneratorOptions
{
    int items = 5000;
    int documents = 50000;
    int linesPerDocument = 10;
    QDate firstDate = QDate(2023, 1, 1);
    QDate lastDate = QDate(2023, 12, 31);
    double requisitionShare = 0.35;
    quint32 seed = 20240607u;
};

// Writes yclnote lines and ycldate headers in one transaction. The tables must exist.
bool generateStockData(Connection& connection, const GeneratorOptions& options,
                       QString* error = nullptr);

} // namespace mv
