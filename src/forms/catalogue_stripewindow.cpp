// The invisible window whose draw panel paints the stock list's stripe picture.

#include "forms/catalogue_records.h"

namespace mv::catalogue {

WindowDef stripeWindow()
{
    WindowDef def = window(u"StripeWindow", u"", 26, 71);
    def.controls = {
        ctl(u"画板", ControlKind::DrawPanel, 8, 8, 5, 50),
    };
    return def;
}

} // namespace mv::catalogue
