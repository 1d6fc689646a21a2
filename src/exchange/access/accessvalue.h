#pragma once
// Turning a field read from an Access file into the value stored in an SQLite column.

#include "exchange/access/accessfile.h"

#include <QVariant>

namespace mv {

// The storage class a target column asks for (its declared type, read the way SQLite does).
enum class ColumnAffinity
{
    Text,
    Integer,
    Real,
    Any // BLOB or no declared type: the value keeps its own kind
};

ColumnAffinity affinityOfDeclaredType(const QString& declaredType);
// The declared type of a column created for an Access column of this kind.
QString declaredTypeFor(AccessValue::Kind kind);

// The stored form of a date/time: "2010-01-05", or "2010-01-05 08:30:00" when the time is
// not midnight.
QString storedDateText(double oleDate);

// The value for a column of the given affinity: a null QVariant for a null field. Numbers
// become the shortest plain decimal text that reads back as the same single or double
// ("1234567", "12345.67"; never an exponent, which the stock would read as a small whole
// number), currency keeps its exact decimals, dates take their stored form. Returns false
// with *error set when the value has no faithful form in that column (binary data in a text
// column, a text that is no whole number in an integer column, ...).
bool convertAccessValue(const AccessValue& value, ColumnAffinity affinity, QVariant* result,
                        QString* error);

} // namespace mv
