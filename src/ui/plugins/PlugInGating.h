#pragma once
// The active plug-in's allow list applied to the main window: each permission shows or hides
// its controls. Nothing is disabled and no profile value changes; under each gated group lies
// a label that shows while the group is hidden.

#include "core/Globals.h"

namespace fenmar::ui {

class TMainDialog;

// Null means everything is allowed (DefaultAllowList).
void ApplyAllowList(TMainDialog& dialog, const AllowList* list);

}  // namespace fenmar::ui
