#include "print/formulas.h"

#include "common/texts.h"
#include "print/evaluationwatchdog.h"

#include <QRegularExpression>

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

QString FormulaEngine::evaluate(const QString& expression)
{
    const QJSValue result = guarded([&] { return m_engine.evaluate(expression); });
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
    const QString source = QStringLiteral("(function(") + parameters.join(QLatin1Char(',')) +
                           QStringLiteral(") { return (") + body + QStringLiteral("\n); })");
    const QJSValue function = guarded([&] { return m_engine.evaluate(source); });
    column.m_valid = function.isCallable();
    column.m_function = function;
    return column;
}

double FormulaEngine::Column::value(const std::function<QString(int)>& cellText)
{
    if (!m_valid)
        return 0;
    QJSValueList arguments(m_columns, QJSValue(0));
    for (int x : m_referenced) {
        bool ok = false;
        const double number = cellNumber(cellText(x), &ok);
        if (!ok)
            return 0; // a referenced cell that is no number fails the formula
        arguments[x - 1] = QJSValue(number);
    }
    const QJSValue result = m_engine->guarded([&] { return m_function.call(arguments); });
    if (result.isError() || result.isUndefined() || result.isNull())
        return 0;
    return toNumber(result.toString());
}

} // namespace mv
