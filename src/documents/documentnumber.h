#pragma once
// Document numbers: 8 decimal digits, zero-padded on the left.

#include <QStringList>

namespace mv {

// The number after the shown one: its leading whole number (atoi) + 1, padded with zeros to
// 8 digits when shorter. "" gives "00000001", "99999999" gives "100000000".
QString nextDocumentNumber(const QString& shown);

// The number a new document gets: the one after the highest of the stored numbers that are
// made of digits only, by value ("" when none is: "00000001"). Numbers typed with letters
// ("A001") take no part, and "100000000" is higher than "99999999" although it sorts first
// as text: so the number given is never one stored already.
QString nextFreeDocumentNumber(const QStringList& stored);

// The stored number that a number typed into the number box names: the typed text itself when
// it is stored, otherwise its 8-digit form when it is a shorter run of digits ("5" names
// "00000005"); empty when it names none.
QString typedDocumentNumber(const QString& typed, const QStringList& stored);

} // namespace mv
