#pragma once
// The unit an item is kept in, as its stored lines tell it: what a line typed with a known
// material name and model but no unit is given, so that it stays the same stock item.

#include <QString>

namespace mv {

class Connection;

// The one non-empty 单位 of the stored lines with this material name and model (compared as
// the item columns compare). Empty when no line has a unit, when the lines disagree on it,
// and when the database cannot be read.
QString soleItemUnit(Connection& connection, const QString& name, const QString& model);

} // namespace mv
