#pragma once
// The formula language of custom columns, and the one function both the trial and the table
// evaluate.
//
// Once its references are replaced, a formula computes with numbers only: numbers, the
// columns' values, the arithmetic, comparison, logical and conditional operators,
// parentheses, the Math functions and constants, and names of its own that are given a
// value before they are read. Statements are separated by ";" (a trailing ";" is allowed);
// the formula's value is the last statement's. Strings, arrays, objects, regular
// expressions, functions, loops and the script's global objects cannot be written, so one
// evaluation does work bounded by the formula's length and allocates nothing.

#include <QString>
#include <QStringList>

namespace mv {

// The source of a function expression over the given parameter names that returns the
// formula's value; an empty text when the formula is outside the language.
QString formulaFunctionSource(const QString& formula, const QStringList& parameters);

} // namespace mv
