#include "print/formulas.h"

#include "common/texts.h"
#include "print/evaluationwatchdog.h"
#include "print/formulasource.h"

#include <QRegularExpression>

#include <cstring>

namespace mv {

QString TrialFormula(const QString& formula)
{
    QString text = formula;
    while (text.contains(QLatin1Char('['))) {
        const qsizetype s = text.indexOf(QLatin1Char('['));
        const qsizetype e = text.indexOf(QLatin1Char(']'));
        if (e < s)
            return {}; // no "]" after the "[": the formula is malformed
        const QString reference = text.mid(s, e - s + 1);
        text.replace(reference, QStringLiteral(" 5"), Qt::CaseInsensitive);
    }
    return text;
}

double cellNumber(const QString& text, bool* ok)
{
    // Most cells start with an ASCII digit after blanks and a sign: they hold a number
    // without asking the expression below.
    qsizetype i = 0;
    auto blank = [](QChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
    while (i < text.size() && blank(text.at(i)))
        ++i;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-'))
        ++i;
    auto asciiDigit = [&text](qsizetype k) {
        return k < text.size() && text.at(k) >= u'0' && text.at(k) <= u'9';
    };
    if (asciiDigit(i) || (i < text.size() && text.at(i) == u'.' && asciiDigit(i + 1))) {
        *ok = true;
        return toNumber(text);
    }
    static const QRegularExpression leading(QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)"));
    const QString folded = foldFullWidth(text);
    *ok = leading.match(folded).hasMatch();
    return *ok ? toNumber(folded) : 0.0;
}

QString columnPlaceholder(int column)
{
    return QStringLiteral(" _c%1_").arg(column);
}

QString SubstituteColumnValues(const QString& formula, const QStringList& titles)
{
    QString text = formula;
    for (int x = 1; x <= titles.size(); ++x)
        text.replace(QLatin1Char('[') + titles[x - 1] + QLatin1Char(']'), columnPlaceholder(x),
                     Qt::CaseInsensitive);
    return text;
}

FormulaEngine::FormulaEngine(int timeLimitMs)
    : m_watchdog(std::make_unique<EvaluationWatchdog>(m_engine)), m_timeLimitMs(timeLimitMs)
{
}

FormulaEngine::~FormulaEngine() = default;

QJSValue FormulaEngine::guarded(const std::function<QJSValue()>& run)
{
    m_watchdog->arm(std::chrono::milliseconds(m_timeLimitMs));
    QJSValue result = run();
    m_watchdog->disarm();
    if (m_engine.isInterrupted()) {
        m_engine.setInterrupted(false);
        return QJSValue(QJSValue::UndefinedValue);
    }
    return result;
}

QString FormulaEngine::trial(const QString& formula)
{
    const QString text = TrialFormula(formula);
    if (text.isEmpty())
        return {};
    Column column = compile(text, {});
    if (!column.m_valid)
        return {};
    const QJSValue result = guarded([&] { return column.m_function.call(); });
    if (result.isError() || result.isUndefined() || result.isNull())
        return {};
    return result.toString();
}

FormulaEngine::Column FormulaEngine::compile(const QString& formula, const QStringList& titles)
{
    Column column;
    column.m_engine = this;
    column.m_columns = int(titles.size());
    const QString body = SubstituteColumnValues(formula, titles);
    QStringList parameters;
    for (int x = 1; x <= titles.size(); ++x) {
        const QString name = columnPlaceholder(x).trimmed();
        parameters << name;
        if (body.contains(name))
            column.m_referenced.append(x);
    }
    const QString source = formulaFunctionSource(body, parameters);
    if (source.isEmpty())
        return column;
    const QJSValue function = guarded([&] { return m_engine.evaluate(source); });
    column.m_valid = function.isCallable();
    column.m_function = function;
    return column;
}

QJSValue FormulaEngine::rowRunner(int columns, const QList<int>& referenced)
{
    // A loop that calls the column's function for every row whose referenced cells all
    // hold numbers, passing each row's numbers as plain arguments (the source is made of
    // column positions only, never of cell or formula text). Finite numbers come back in
    // a Float64Array; any other result that is not undefined, null or an error comes back
    // as text for the same reading as a single evaluation (a result text is read as a
    // number, so true or "abc" gives 0). A row that throws gives 0.
    QStringList arguments(columns, QStringLiteral("0"));
    for (int j = 0; j < referenced.size(); ++j)
        arguments[referenced[j] - 1] = QStringLiteral("c%1[i]").arg(j);
    QString unpack;
    for (int j = 0; j < referenced.size(); ++j)
        unpack += QStringLiteral("var c%1 = new Float64Array(numbers[%1]);\n").arg(j);
    const QString source = QStringLiteral(R"((function (f, rows, numbers, usable) {
%1    var ok = new Uint8Array(usable);
    var out = new Float64Array(rows);
    var texts = [];
    for (var i = 0; i < rows; ++i) {
        if (!ok[i])
            continue;
        var r;
        try { r = f(%2); } catch (e) { continue; }
        if (typeof r === "number")
            out[i] = isFinite(r) ? r + 0 : 0;
        else if (r !== undefined && r !== null && !(r instanceof Error))
            texts.push(i, String(r));
    }
    return [out.buffer, texts];
}))")
                               .arg(unpack, arguments.join(QLatin1Char(',')));
    return guarded([&] { return m_engine.evaluate(source); });
}

QList<double> FormulaEngine::Column::values(int rows,
                                            const std::function<QString(int, int)>& cellText)
{
    QList<double> result(rows, 0.0);
    if (!m_valid || rows <= 0)
        return result;
    constexpr int kChunk = 4096;
    QJSEngine& js = m_engine->m_engine;
    if (!m_runner.isCallable())
        m_runner = m_engine->rowRunner(m_columns, m_referenced);
    for (int first = 0; first < rows; first += kChunk) {
        const int count = std::min(kChunk, rows - first);
        QByteArray usable(count, char(1));
        QJSValue numbers = js.newArray(uint(m_referenced.size()));
        for (int j = 0; j < m_referenced.size(); ++j) {
            QByteArray column(qsizetype(count) * qsizetype(sizeof(double)), Qt::Uninitialized);
            double* cells = reinterpret_cast<double*>(column.data());
            for (int i = 0; i < count; ++i) {
                bool ok = false;
                cells[i] = usable[i] ? cellNumber(cellText(first + i, m_referenced[j]), &ok) : 0;
                if (!ok)
                    usable[i] = 0; // a referenced cell that is no number fails the formula
            }
            numbers.setProperty(quint32(j), js.toScriptValue(column));
        }
        const QJSValue out = m_engine->guarded([&] {
            return m_runner.call({m_function, count, numbers, js.toScriptValue(usable)});
        });
        if (!out.isArray())
            continue; // interrupted: the chunk keeps its zeros
        const QByteArray computed = qjsvalue_cast<QByteArray>(out.property(0));
        if (computed.size() == qsizetype(count) * qsizetype(sizeof(double)))
            std::memcpy(result.data() + first, computed.constData(), computed.size());
        const QJSValue texts = out.property(1);
        const int n = texts.property(QStringLiteral("length")).toInt();
        for (int k = 0; k + 1 < n; k += 2)
            result[first + texts.property(quint32(k)).toInt()] =
                toNumber(texts.property(quint32(k + 1)).toString());
    }
    return result;
}

double FormulaEngine::Column::value(const std::function<QString(int)>& cellText)
{
    return values(1, [&cellText](int, int x) { return cellText(x); }).value(0);
}

} // namespace mv
