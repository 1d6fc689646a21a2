#pragma once
// The mode of a document page's form, owned in one place: a stored document shown read-only,
// a new document being added, or a stored one being modified; and whether the clerk changed
// the form since the mode began. The page shows the mode on its toolbar and controls; nothing
// reads it back from them.

#include "documents/document.h"

namespace mv {

enum class FormMode
{
    ReadOnly,
    Adding,
    Modifying,
};

class FormState
{
public:
    FormMode mode() const { return m_mode; }
    bool editing() const { return m_mode != FormMode::ReadOnly; }

    // Enters mode with the form as it stands now as its starting point.
    void start(FormMode mode, const Document& form);
    // Back to read-only.
    void end();

    // Editing, and the form differs from its starting point (rows left blank do not count).
    bool hasUnsavedChanges(const Document& form) const;

private:
    FormMode m_mode = FormMode::ReadOnly;
    Document m_start;
};

} // namespace mv
