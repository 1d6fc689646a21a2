#include "print/formulasource.h"

#include <QSet>

namespace mv {

namespace {

const QSet<QString> kMathFunctions{
    u"abs"_qs,   u"acos"_qs,  u"acosh"_qs, u"asin"_qs,  u"asinh"_qs, u"atan"_qs, u"atanh"_qs,
    u"atan2"_qs, u"cbrt"_qs,  u"ceil"_qs,  u"cos"_qs,   u"cosh"_qs,  u"exp"_qs,  u"expm1"_qs,
    u"floor"_qs, u"hypot"_qs, u"log"_qs,   u"log10"_qs, u"log1p"_qs, u"log2"_qs, u"max"_qs,
    u"min"_qs,   u"pow"_qs,   u"round"_qs, u"sign"_qs,  u"sin"_qs,   u"sinh"_qs, u"sqrt"_qs,
    u"tan"_qs,   u"tanh"_qs,  u"trunc"_qs, u"random"_qs};
const QSet<QString> kMathConstants{u"E"_qs,     u"LN10"_qs, u"LN2"_qs,     u"LOG10E"_qs,
                                   u"LOG2E"_qs, u"PI"_qs,   u"SQRT1_2"_qs, u"SQRT2"_qs};
// Values a formula may read without giving them.
const QSet<QString> kConstants{u"true"_qs,      u"false"_qs, u"null"_qs,
                               u"undefined"_qs, u"NaN"_qs,   u"Infinity"_qs};
const QSet<QString> kDeclarations{u"var"_qs, u"let"_qs, u"const"_qs};
const QString kOperators = u"+-*/%?:,=<>!&|^~"_qs;

bool asciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool nameStart(QChar c)
{
    return c.isLetter() || c == u'_' || c == u'$';
}

bool namePart(QChar c)
{
    return nameStart(c) || c.isLetterOrNumber() || c.isMark();
}

// Checks one formula and gathers its statements and names; every character the script
// engine will read has been looked at here.
class Checker
{
public:
    Checker(const QString& text, const QStringList& parameters) : s(text), params(parameters) {}

    bool run();

    QStringList statements; // texts without their declaration keyword
    QStringList locals;     // names of the formula's own, in order of appearance
    bool lastDeclares = false;

private:
    QChar at(qsizetype i) const { return i < s.size() ? s[i] : QChar(); }
    qsizetype skipBlanks(qsizetype i) const
    {
        while (i < s.size() && s[i].isSpace())
            ++i;
        return i;
    }
    bool number();
    bool name();
    bool endStatement(qsizetype end);

    const QString& s;
    const QStringList& params;
    qsizetype i = 0;
    qsizetype statementStart = 0;
    bool declaring = false; // the statement began with var, let or const
    bool expectOperand = true;
    bool atStatementStart = true;
    int depth = 0;
};

bool Checker::number()
{
    const qsizetype start = i;
    if (s[i] == u'0' && QStringLiteral("xXoObB").contains(at(i + 1))) {
        i += 2;
        while (asciiDigit(at(i)) || QStringLiteral("abcdefABCDEF").contains(at(i)))
            ++i;
    } else {
        while (asciiDigit(at(i)))
            ++i;
        if (at(i) == u'.') {
            ++i;
            while (asciiDigit(at(i)))
                ++i;
        }
        if (at(i) == u'e' || at(i) == u'E') {
            ++i;
            if (at(i) == u'+' || at(i) == u'-')
                ++i;
            if (!asciiDigit(at(i)))
                return false;
            while (asciiDigit(at(i)))
                ++i;
        }
    }
    // A number runs into a name, a digit of another base or a member access: refused.
    if (i == start || namePart(at(i)) || at(i) == u'.')
        return false;
    expectOperand = false;
    atStatementStart = false;
    return true;
}

bool Checker::name()
{
    const qsizetype start = i;
    while (i < s.size() && namePart(s[i]))
        ++i;
    const QString word = s.mid(start, i - start);
    if (atStatementStart && kDeclarations.contains(word)) {
        declaring = true;
        statementStart = i; // the keyword is left out of the statement's text
        atStatementStart = false;
        return true; // the names it declares are locals like any other
    }
    atStatementStart = false;
    expectOperand = false;
    if (word == u"Math") {
        qsizetype j = skipBlanks(i);
        if (at(j) != u'.')
            return false;
        j = skipBlanks(j + 1);
        const qsizetype memberStart = j;
        while (j < s.size() && namePart(s[j]))
            ++j;
        const QString member = s.mid(memberStart, j - memberStart);
        i = j;
        if (kMathConstants.contains(member))
            return true;
        // A Math function is only ever called: as a value it would turn into text.
        return kMathFunctions.contains(member) && at(skipBlanks(j)) == u'(';
    }
    if (kConstants.contains(word) || params.contains(word) || locals.contains(word))
        return true;
    // A name of the formula's own is given a value where it first appears ("x = ..."); any
    // other word (a keyword, a global object) is refused.
    const qsizetype j = skipBlanks(i);
    if (at(j) != u'=' || at(j + 1) == u'=' || at(j + 1) == u'>')
        return false;
    locals << word;
    return true;
}

bool Checker::endStatement(qsizetype end)
{
    if (depth != 0)
        return false;
    const QString text = s.mid(statementStart, end - statementStart).trimmed();
    if (!text.isEmpty()) {
        statements << text;
        lastDeclares = declaring;
    }
    statementStart = end + 1;
    declaring = false;
    expectOperand = true;
    atStatementStart = true;
    return true;
}

bool Checker::run()
{
    while (i < s.size()) {
        const QChar c = s[i];
        if (c == u'\n' || c == u'\r' || c == QChar(0x2028) || c == QChar(0x2029))
            return false; // one line: no automatic semicolons, no line comments
        if (c.isSpace()) {
            ++i;
        } else if (asciiDigit(c) || (c == u'.' && asciiDigit(at(i + 1)))) {
            if (!number())
                return false;
        } else if (nameStart(c)) {
            if (!name())
                return false;
        } else if (c == u'(') {
            ++depth;
            ++i;
            expectOperand = true;
            atStatementStart = false;
        } else if (c == u')') {
            if (--depth < 0)
                return false;
            ++i;
            expectOperand = false;
        } else if (c == u';') {
            if (!endStatement(i))
                return false;
            ++i;
        } else if (kOperators.contains(c)) {
            // A "/" where a value belongs starts a regular expression; "//" and "/*" start
            // comments; "=>" makes a function; "<!--" is a comment in scripts.
            if (c == u'/' && (expectOperand || at(i + 1) == u'/' || at(i + 1) == u'*'))
                return false;
            if (c == u'=' && at(i + 1) == u'>')
                return false;
            if (s.mid(i, 4) == u"<!--")
                return false;
            ++i;
            expectOperand = true;
            atStatementStart = false;
        } else {
            return false; // quotes, brackets, braces, member access and the like
        }
    }
    return endStatement(s.size());
}

} // namespace

QString formulaFunctionSource(const QString& formula, const QStringList& parameters)
{
    Checker checker(formula, parameters);
    if (!checker.run() || checker.statements.isEmpty() || checker.lastDeclares)
        return {};
    // The statements become one comma expression whose value is the last one's; the
    // formula's own names are locals of the function, so nothing outlives an evaluation.
    QString source = u"(function("_qs + parameters.join(u',') + u") { \"use strict\"; "_qs;
    if (!checker.locals.isEmpty())
        source += u"var "_qs + checker.locals.join(u", "_qs) + u"; "_qs;
    return source + u"return (("_qs + checker.statements.join(u"), ("_qs) + u")); })"_qs;
}

} // namespace mv
