#pragma once
// Document numbers: 8 decimal digits, zero-padded on the left.

#include <QStringList>

namespace mv {

// The number after the shown one: its leading whole number (atoi) + 1, padded with zeros to
// 8 digits when shorter. "" gives "00000001", "99999999" gives "100000000".
QString nextDocumentNumber(const QString& shown);

// The stored number that a number typed into the number box names: the typed text itself when
// it is stored, otherwise its 8-digit form when it is a shorter run of digits ("5" names
// "00000005"); empty when it names none.
QString typedDocumentNumber(const QString& typed, const QStringList& stored);

} // namespace mv
