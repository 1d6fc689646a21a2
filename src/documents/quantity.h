#pragma once
// The quantity of a document line: a plain decimal number greater than zero.

#include "documents/document.h"

#include <QString>

#include <optional>

namespace mv {

// The quantity as it is stored: full-width digits and point read as ASCII, surrounding blanks
// dropped; digits with at most one decimal point between digits ("12", "2.5"). nullopt for
// anything else, and for zero: "1e3", "-5", "0", "0.0", "5件", "" and "." are no quantities.
std::optional<QString> plainQuantity(const QString& typed);

// The stock counts the whole items of a line in 32 bits: a plain quantity beyond 2147483647
// (a slip of the keyboard, "99999999999999999999") would count as that much less.
inline constexpr int kLargestQuantity = 2147483647;
bool quantityTooLarge(const QString& plain);

// The stock counts whole items: "2.5" adds 2, "0.5" nothing. The question put to the clerk
// before a document with such quantities is saved, naming each line and what it counts as
// ("第 2 行的数量 2.5 计为 2"); empty when every quantity counts as typed.
QString partCountedQuestion(const QList<DocumentLine>& lines);

} // namespace mv
