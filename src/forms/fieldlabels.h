#pragma once
// The label that names each field of a built window, for screen readers.

#include "forms/windowbuilder.h"

namespace mv {

// Names every edit box, combo box and date picker after the label (or radio button) on its
// left on the same row (its text without the colon), and makes that label its buddy: a screen
// reader says "入库单号" where it said only "text". Works on the catalogue's geometry, before any
// window lays its controls out anew.
void nameFieldsByTheirLabels(const WindowDef& def, const BuiltWindow& built);

} // namespace mv
