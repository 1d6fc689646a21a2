#pragma once
// Document numbers: 8 decimal digits, zero-padded on the left.

#include <QString>

namespace mv {

// The number after the shown one: its leading whole number (atoi) + 1, padded with zeros to
// 8 digits when shorter. "" gives "00000001", "99999999" gives "100000000".
QString nextDocumentNumber(const QString& shown);

} // namespace mv
