#pragma once
// The quantity of a document line: a plain decimal number greater than zero.

#include <QString>

#include <optional>

namespace mv {

// The quantity as it is stored: full-width digits and point read as ASCII, surrounding blanks
// dropped; digits with at most one decimal point between digits ("12", "2.5"). nullopt for
// anything else, and for zero: "1e3", "-5", "0", "0.0", "5件", "" and "." are no quantities.
std::optional<QString> plainQuantity(const QString& typed);

} // namespace mv
