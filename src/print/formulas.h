#pragma once
// Custom column formulas: the trial check, the reference substitution and their evaluation
// with QJSEngine (JScript number semantics). Cell texts are never run as script: a formula
// is compiled once per column into a function whose parameters are the referenced columns'
// numbers (formulasource.h says what a formula may hold). The trial calls the same function
// with every reference standing for 5, so a formula the trial accepts is computed in the
// table. Every evaluation runs under a time limit.

#include <QJSEngine>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace mv {

class EvaluationWatchdog;

// The formula with every "[...]" reference replaced by " 5"; an empty text when a "[" has
// no later "]" or a "]" comes before the first "[" (a malformed formula).
QString TrialFormula(const QString& formula);

// The number a referenced cell contributes: the leading number of its text (full-width
// digits count); ok is false when the text holds no number.
double cellNumber(const QString& text, bool* ok);

// The formula with the reference of each column x (1..k, "[" + title + "]", any case)
// replaced by the placeholder that names that column's value.
QString SubstituteColumnValues(const QString& formula, const QStringList& titles);
// The placeholder of column x in substituted formulas.
QString columnPlaceholder(int column);

class FormulaEngine
{
public:
    explicit FormulaEngine(int timeLimitMs = 2000);
    ~FormulaEngine();
    FormulaEngine(const FormulaEngine&) = delete;
    FormulaEngine& operator=(const FormulaEngine&) = delete;

    // The trial of a formula: TrialFormula's text evaluated as the table evaluates a row.
    // The result as text; empty when the formula is malformed or outside the language, the
    // engine reports an error, the result is undefined or null, or the time limit ran out.
    QString trial(const QString& formula);

    // One custom column's formula over the columns titled titles[0..k-1].
    class Column
    {
    public:
        // The value for one row; cellText(x) gives column x's text (1-based). 0 when the
        // formula fails, a referenced cell holds no number, or the result is no number.
        double value(const std::function<QString(int)>& cellText);
        // The values of rows 0..rows-1, cellText(row, x) giving column x's text of a row.
        // The rows go to the engine in chunks, one script call per chunk under the time
        // limit, so a long list costs a few calls instead of one per cell; a chunk that
        // runs out of time gives 0 in each of its rows.
        QList<double> values(int rows, const std::function<QString(int, int)>& cellText);

    private:
        friend class FormulaEngine;
        FormulaEngine* m_engine = nullptr;
        QJSValue m_function;
        QJSValue m_runner;       // the loop over a chunk of rows, made on first use
        QList<int> m_referenced; // columns whose placeholder the formula uses
        int m_columns = 0;
        bool m_valid = false;
    };
    Column compile(const QString& formula, const QStringList& titles);

private:
    QJSValue guarded(const std::function<QJSValue()>& run);
    QJSValue rowRunner(int columns, const QList<int>& referenced);

    QJSEngine m_engine;
    std::unique_ptr<EvaluationWatchdog> m_watchdog;
    int m_timeLimitMs;
};

} // namespace mv
