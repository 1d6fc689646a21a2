#include "documents/documentcursor.h"

namespace mv {

void DocumentCursor::reset(const QStringList& numbers)
{
    m_numbers = numbers;
    m_position = numbers.isEmpty() ? 0 : numbers.size() - 1;
}

bool DocumentCursor::moveTo(const QString& number)
{
    const qsizetype at = m_numbers.indexOf(number);
    if (at < 0)
        return false;
    m_position = at;
    return true;
}

void DocumentCursor::previous()
{
    if (m_position >= 0)
        --m_position;
}

void DocumentCursor::next()
{
    if (m_position < m_numbers.size())
        ++m_position;
}

QString DocumentCursor::current() const
{
    return m_numbers.value(m_position);
}

} // namespace mv
