#pragma once
// The browse position of a document page over the stored numbers ("单号 ASC"). Like a
// result set it can stand before the first or past the last number, where it shows none.

#include <QStringList>

namespace mv {

class DocumentCursor
{
public:
    // Replaces the numbers and stands on the last one (or past the end when there is none).
    void reset(const QStringList& numbers);
    // Stands on number when it is among the numbers; returns false otherwise.
    bool moveTo(const QString& number);
    // Moves one number back/forward, stopping one step outside the ends.
    void previous();
    void next();
    // Stands past the last number, where a new document comes.
    void moveToEnd() { m_position = m_numbers.size(); }

    // The current number, empty before the first or past the last.
    QString current() const;
    QString first() const { return m_numbers.value(0); }
    QString last() const { return m_numbers.isEmpty() ? QString() : m_numbers.last(); }

private:
    QStringList m_numbers;
    qsizetype m_position = 0; // -1 before the first, size() past the last
};

} // namespace mv
