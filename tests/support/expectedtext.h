#pragma once
// Compares a text dump with an expected file in the data folder beside the test
// (tests/<area>/data). With MORVANE_WRITE_EXPECTED=1 the file is (re)written instead, for
// reviewing changes with git diff.

#include <QFile>
#include <QString>
#include <QTest>

namespace mv::test {

inline bool matchesExpected(const QString& actual, const QString& name)
{
    const QString path = QStringLiteral(MORVANE_TEST_DATA "/") + name;
    if (qEnvironmentVariableIntValue("MORVANE_WRITE_EXPECTED") == 1) {
        QFile out(path);
        return out.open(QIODevice::WriteOnly) && out.write(actual.toUtf8()) >= 0;
    }
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        qWarning("missing expected file %s", qPrintable(path));
        return false;
    }
    const QString expected = QString::fromUtf8(in.readAll());
    if (expected == actual)
        return true;
    const QStringList a = actual.split(QLatin1Char('\n'));
    const QStringList e = expected.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < std::max(a.size(), e.size()); ++i) {
        if (a.value(i) != e.value(i)) {
            qWarning("%s line %d:\n  actual:   %s\n  expected: %s", qPrintable(name), int(i + 1),
                     qPrintable(a.value(i)), qPrintable(e.value(i)));
            break;
        }
    }
    return false;
}

} // namespace mv::test
