#pragma once
// Text helpers with the program's code-page-936 semantics: number reading that accepts
// full-width digits, number texts, and the GBK byte view used for comparisons.

#include <QByteArray>
#include <QString>
#include <QVariant>

namespace mv {

// Full-width ASCII forms (GBK 0xA3A1-0xA3FE) and the full-width blank (0xA1A1) as ASCII.
QString foldFullWidth(const QString& text);

// A-Z as a-z and nothing else: the case folding the database applies to item texts, so
// that texts it takes for one item are equal here too.
QString foldLatinCase(const QString& text);

// The leading whole number the way atoi reads it (leading blanks, optional sign, digits),
// after folding full-width forms; 0 when there is none. Saturates at the int range.
int toInteger(const QString& text);
// Integral values as they are, floating values truncated toward zero, texts as above,
// anything else 0.
int toInteger(const QVariant& value);
// toInteger() over UTF-8 bytes without building a QString (used by the SQL function mv_int).
int toIntegerUtf8(const char* text, qsizetype size);
// A floating value truncated toward zero and saturated at the int range; NaN gives 0.
int truncateToInt(double value);

// The leading decimal number (sign, digits, decimal point, exponent) after folding
// full-width forms; 0 when there is none.
double toNumber(const QString& text);

// "%.6g" of a single-precision number and "%.13g" of a double.
QString singleText(float value);
QString doubleText(double value);

// The text as code-page-936 bytes (unmappable characters become '?').
QByteArray gbkBytes(const QString& text);
// Byte-wise unsigned comparison; a text that ends first is the smaller. Returns -1, 0 or 1.
int compareBytes(const QByteArray& a, const QByteArray& b);
// Upper-cases a-z; a byte of 0x80 or more starts a double-byte character, which is kept
// together with the byte after it. Works in place on a bytes value no one else shares.
QByteArray upperGbk(QByteArray bytes);

} // namespace mv
