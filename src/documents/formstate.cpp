#include "documents/formstate.h"

namespace mv {

void FormState::start(FormMode mode, const Document& form)
{
    m_mode = mode;
    m_start = withoutBlankLines(form);
}

void FormState::end()
{
    m_mode = FormMode::ReadOnly;
    m_start = {};
}

bool FormState::hasUnsavedChanges(const Document& form) const
{
    return editing() && !(withoutBlankLines(form) == m_start);
}

} // namespace mv
