#include "common/texts.h"

#include <QStringEncoder>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace mv {

namespace {

// The code-page-936 full-width forms read as their ASCII counterparts.
char32_t foldCodePoint(char32_t c)
{
    if (c >= 0xFF01 && c <= 0xFF5E)
        return c - 0xFEE0;
    switch (c) {
    case 0x3000:
        return U' ';
    case 0xFFE5: // GBK A3A4, the full-width yen/yuan sign in the dollar's place
        return U'$';
    case 0xFFE3: // GBK A3FE, the full-width macron in the tilde's place
        return U'~';
    default:
        return c;
    }
}

bool isAtoiBlank(char32_t c)
{
    return c == U' ' || c == U'\t' || c == U'\n' || c == U'\v' || c == U'\f' || c == U'\r';
}

int clampToInt(long long value)
{
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return int(value);
}

// atoi over a sequence of folded code points; next() yields 0 at the end.
template <typename Next> int leadingInteger(Next next)
{
    char32_t c = next();
    while (isAtoiBlank(c))
        c = next();
    bool negative = false;
    if (c == U'+' || c == U'-') {
        negative = c == U'-';
        c = next();
    }
    long long magnitude = 0;
    constexpr long long kLimit = 1LL << 32; // beyond every int, still far from overflow
    while (c >= U'0' && c <= U'9') {
        if (magnitude < kLimit)
            magnitude = magnitude * 10 + (c - U'0');
        c = next();
    }
    return clampToInt(negative ? -magnitude : magnitude);
}

// Decodes one UTF-8 code point; malformed bytes come out as themselves (never a digit).
char32_t decodeUtf8(const unsigned char*& p, const unsigned char* end)
{
    const unsigned char lead = *p++;
    if (lead < 0x80)
        return lead;
    int extra = 0;
    char32_t c = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        c = lead & 0x07;
    } else {
        return 0xFFFD;
    }
    for (int i = 0; i < extra; ++i) {
        if (p == end || (*p & 0xC0) != 0x80)
            return 0xFFFD;
        c = (c << 6) | (*p++ & 0x3F);
    }
    return c;
}

QStringEncoder makeGbkEncoder()
{
    QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        encoder = QStringEncoder("GB18030", QStringConverter::Flag::Stateless);
    return encoder;
}

} // namespace

QString foldFullWidth(const QString& text)
{
    QString folded = text;
    for (QChar& ch : folded) {
        const char32_t c = foldCodePoint(ch.unicode());
        if (c != ch.unicode())
            ch = QChar(char16_t(c));
    }
    return folded;
}

QString foldLatinCase(const QString& text)
{
    QString folded = text;
    for (QChar& ch : folded)
        if (ch >= u'A' && ch <= u'Z')
            ch = QChar(ch.unicode() + (u'a' - u'A'));
    return folded;
}

int toInteger(const QString& text)
{
    const QChar* p = text.constData();
    const QChar* end = p + text.size();
    return leadingInteger(
        [&]() -> char32_t { return p == end ? 0 : foldCodePoint((p++)->unicode()); });
}

int toIntegerUtf8(const char* text, qsizetype size)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    const auto* end = p + size;
    return leadingInteger([&]() -> char32_t {
        if (p == end)
            return 0;
        const char32_t c = foldCodePoint(decodeUtf8(p, end));
        return c == 0 ? 0xFFFD : c; // an embedded NUL ends nothing early by accident
    });
}

int toInteger(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::UShort:
    case QMetaType::Bool:
        return value.toInt();
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const qulonglong v = value.toULongLong();
        return v > qulonglong(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max()
                                                               : int(v);
    }
    case QMetaType::Long:
    case QMetaType::LongLong:
        return clampToInt(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return truncateToInt(value.toDouble());
    case QMetaType::QString:
        return toInteger(value.toString());
    case QMetaType::QByteArray:
        return toInteger(QString::fromUtf8(value.toByteArray()));
    default:
        return 0;
    }
}

double toNumber(const QString& text)
{
    // Collect the leading decimal number as ASCII, then convert it locale-independently.
    qsizetype i = 0;
    const qsizetype n = text.size();
    // Full-width forms fold to ASCII as they are read, without a folded copy of the text.
    auto at = [&](qsizetype k) -> char16_t {
        return k < n ? char16_t(foldCodePoint(text.at(k).unicode())) : 0;
    };
    auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
    while (isAtoiBlank(at(i)))
        ++i;
    std::string number;
    if (at(i) == u'+' || at(i) == u'-') {
        if (at(i) == u'-')
            number += '-';
        ++i;
    }
    bool digits = false;
    while (isDigit(at(i))) {
        number += char(at(i++));
        digits = true;
    }
    if (at(i) == u'.') {
        number += '.';
        ++i;
        while (isDigit(at(i))) {
            number += char(at(i++));
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    if (at(i) == u'e' || at(i) == u'E') {
        qsizetype k = i + 1;
        std::string exponent = "e";
        if (at(k) == u'+' || at(k) == u'-')
            exponent += char(at(k++));
        if (isDigit(at(k))) {
            while (isDigit(at(k)))
                exponent += char(at(k++));
            number += exponent;
        }
    }
    double value = 0.0;
    const char* first = number.data();
    if (*first == '-')
        ++first; // from_chars takes no '+', and we want the sign applied after overflow
    const auto result = std::from_chars(first, number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // strtod gives HUGE_VAL on overflow and 0 on underflow; from_chars leaves value alone.
        const bool underflow = number.find("e-") != std::string::npos;
        value = underflow ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return number.front() == '-' ? -value : value;
}

QString singleText(float value)
{
    return QString::asprintf("%.6g", double(value));
}

QString doubleText(double value)
{
    // The "%.13g" text of the C locale, without printf's cost: it runs once per printed number.
    char buffer[32];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 13);
    return QString::fromLatin1(buffer, end.ptr - buffer);
}

QByteArray gbkBytes(const QString& text)
{
    if (text.isEmpty())
        return {};
    bool ascii = true;
    for (QChar ch : text) {
        if (ch.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return text.toLatin1();
    thread_local QStringEncoder encoder = makeGbkEncoder();
    encoder.resetState();
    return encoder.encode(text);
}

int compareBytes(const QByteArray& a, const QByteArray& b)
{
    const qsizetype common = qMin(a.size(), b.size());
    const int c = common > 0 ? std::memcmp(a.constData(), b.constData(), size_t(common)) : 0;
    if (c != 0)
        return c < 0 ? -1 : 1;
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

QByteArray upperGbk(QByteArray bytes)
{
    QByteArray upper = std::move(bytes);
    char* p = upper.data();
    const qsizetype n = upper.size();
    for (qsizetype i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(p[i]);
        if (b >= 0x80)
            ++i; // lead byte: the trail byte belongs to it and stays as it is
        else if (b >= 0x61 && b <= 0x7A)
            p[i] = char(b - 0x20);
    }
    return upper;
}

int truncateToInt(double value)
{
    if (std::isnan(value))
        return 0;
    const double truncated = std::trunc(value);
    if (truncated >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (truncated <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(truncated);
}

} // namespace mv
