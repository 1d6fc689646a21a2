#pragma once
// A page of the main window that 保存 acts on. The main window owns the button and asks the
// page shown: a document page saves its form, the stock and monthly pages export their list.

namespace mv {

class SavingPage
{
public:
    virtual ~SavingPage() = default;
    // 保存 pressed while the page is shown.
    virtual void save() = 0;
};

} // namespace mv
