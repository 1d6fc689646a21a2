#include "print/numberformat.h"

#include "common/texts.h"

#include <cmath>

namespace mv {

double roundHalfAway(double x, int d)
{
    if (x == 0)
        return 0;
    const double scale = std::pow(10.0, std::abs(d));
    const double a = std::fabs(x);
    const double y = d > 0 ? a * scale : d < 0 ? a / scale : a;
    const double q = std::floor(y + 1e-12);
    const double f = y + 1e-12 - q;
    const double magnitude = f >= 0.5 ? q + 1 : q;
    const double back = d > 0 ? magnitude / scale : d < 0 ? magnitude * scale : magnitude;
    if (back == 0)
        return 0; // no "-0"
    return x < 0 ? -back : back;
}

namespace {

bool plainDecimal(const QString& digits)
{
    if (digits.isEmpty())
        return false;
    for (QChar c : digits)
        if (!(c.isDigit() || c == QLatin1Char('.')))
            return false;
    return true;
}

} // namespace

QString FormatNumber(double value, int decimals, bool separators)
{
    QString text = doubleText(roundHalfAway(value, decimals));
    if (decimals > 0) {
        qsizetype dot = text.indexOf(QLatin1Char('.'));
        if (dot < 0) {
            text += QLatin1Char('.');
            dot = text.size() - 1;
        }
        const qsizetype have = text.size() - dot - 1;
        if (have < decimals)
            text += QString(decimals - have, QLatin1Char('0'));
    }
    if (separators) {
        const bool negative = text.startsWith(QLatin1Char('-'));
        const QString body = negative ? text.mid(1) : text;
        if (plainDecimal(body)) {
            qsizetype dot = body.indexOf(QLatin1Char('.'));
            QString whole = dot < 0 ? body : body.left(dot);
            const QString rest = dot < 0 ? QString() : body.mid(dot);
            for (qsizetype i = whole.size() - 3; i > 0; i -= 3)
                whole.insert(i, QLatin1Char(','));
            text = (negative ? QStringLiteral("-") : QString()) + whole + rest;
        }
    }
    return text;
}

} // namespace mv
