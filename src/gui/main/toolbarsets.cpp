#include "gui/main/toolbarsets.h"

#include "widgets/statetoolbar.h"

namespace mv {

void applyButtonSet(StateToolBar& bar, ButtonSet set)
{
    if (set == ButtonSet::Stock) {
        for (int i = AuxAdd; i <= AuxAudit; ++i)
            bar.addState(i, kButtonHidden);
        // 保存 exports the stock and monthly lists: shown and enabled on both pages.
        bar.removeState(AuxSave, kButtonHidden);
        bar.removeState(AuxSave, kButtonDisabled);
        for (int i : {AuxSummary, AuxMovements, AuxSearch})
            bar.removeState(i, kButtonHidden);
        return;
    }
    // Receipt and requisition: the document buttons, read-only form (保存 disabled).
    for (int i = AuxAdd; i <= AuxAudit; ++i)
        bar.removeState(i, kButtonHidden);
    for (int i : {AuxMovements, AuxSearch})
        bar.addState(i, kButtonHidden);
    bar.addState(AuxSave, kButtonDisabled);
    for (int i : {3, 5, 6, 7, 8, 9, 10})
        bar.removeState(i, kButtonDisabled);
}

} // namespace mv
