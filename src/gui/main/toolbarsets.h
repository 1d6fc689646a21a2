#pragma once
// The three button sets of the auxiliary toolbar, chosen by the main toolbar.

namespace mv {

class StateToolBar;

enum class ButtonSet
{
    Receipt,
    Requisition,
    Stock
};

// Toolbar state flags.
inline constexpr int kButtonDisabled = 4;
inline constexpr int kButtonHidden = 8;

// Auxiliary toolbar button indexes.
enum AuxButton
{
    AuxPrint = 0,
    AuxPreview = 1,
    AuxAdd = 3,
    AuxSave = 4,
    AuxModify = 5,
    AuxDelete = 6,
    AuxPrevious = 8,
    AuxNext = 9,
    AuxAudit = 11,
    AuxSummary = 12,
    AuxMovements = 13,
    AuxSearch = 14,
};

// Main toolbar button indexes.
enum MainButton
{
    MainReceipt = 0,
    MainRequisition = 1,
    MainStock = 2,
    MainGoodsIn = 4,
    MainGoodsOut = 5,
    MainGoodsDetails = 6,
    MainDataSettings = 8,
    MainExit = 9,
};

// Applies the set's visible/hidden/disabled flags; button 12 keeps its state in the document
// sets, and the stock set leaves the enabled states as they are, except 保存 (the list
// export), which it shows and enables.
void applyButtonSet(StateToolBar& auxToolBar, ButtonSet set);

} // namespace mv
