#include "documents/documentnumber.h"

#include "common/texts.h"

#include <algorithm>

namespace mv {

namespace {

bool isDigits(const QString& text)
{
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

QString nextDocumentNumber(const QString& shown)
{
    const QString digits = QString::number(qint64(toInteger(shown)) + 1);
    return QString(std::max<qsizetype>(0, 8 - digits.size()), u'0') + digits;
}

QString nextFreeDocumentNumber(const QStringList& stored)
{
    // Compared by value: without leading zeros, a longer run of digits is the higher number.
    QString highest;
    for (const QString& number : stored) {
        if (!isDigits(number))
            continue;
        qsizetype zeros = 0;
        while (zeros < number.size() && number.at(zeros) == u'0')
            ++zeros;
        const QString value = number.mid(zeros);
        if (value.size() > highest.size() || (value.size() == highest.size() && value > highest))
            highest = value;
    }
    // One more, digit by digit: exact however long the number.
    QString next = highest;
    qsizetype i = next.size() - 1;
    for (; i >= 0 && next.at(i) == u'9'; --i)
        next[i] = u'0';
    if (i < 0)
        next.prepend(u'1');
    else
        next[i] = QChar(next.at(i).unicode() + 1);
    return QString(std::max<qsizetype>(0, 8 - next.size()), u'0') + next;
}

QString typedDocumentNumber(const QString& typed, const QStringList& stored)
{
    if (stored.contains(typed))
        return typed;
    if (typed.size() >= 8 || !isDigits(typed))
        return {};
    const QString padded = QString(8 - typed.size(), u'0') + typed;
    return stored.contains(padded) ? padded : QString();
}

} // namespace mv
