#pragma once

#include "state/Context.h"

namespace zelvano {

// Where the window goes: centred in the work area, or at its top edge when the work area is
// exactly 600 twips high. Sizes and the result are in pixels; the rule is worked in twips.
PixelRect PlaceInWorkArea(PixelRect workArea, PixelSize frame, int twipsPerPixel);

// Start-up: places the window and opens the first type that has a list file.
void Form_Load(Context& c);

// Choosing a type: the handler of Option1..Option5 (option 0..4).
void OptionClick(Context& c, int option);

// Checks an option button as a user's click would, running its handler when it changes.
void SelectOption(Context& c, int option);

} // namespace zelvano
