// Rules the interaction dialogs apply to their answers, shared by the desktop dialogs and the
// runner's answer file so that both accept and preselect the same things. No Qt; texts are CP932.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/sjis.h"

namespace kubrix {

// Row modes of the several-values dialog that choose from the list (1: position, 2: item).
inline bool isListMode(int mode) { return mode == 1 || mode == 2; }
// Rows whose answer is a number typed freely: every mode but 1, 2 and 3.
inline bool isNumberMode(int mode) { return mode != 1 && mode != 2 && mode != 3; }

// The position the choice dialog selects on show: the first item equal to wanted, else the first
// item; -1 for an empty list.
int wantedPosition(const std::vector<std::string>& items, std::string_view wanted);

// The position a list row selects on show: mode 1 the value read as a whole number when it lies in
// the list, mode 2 the first item equal to the value; -1 for no selection and for free rows.
int rowPreset(int mode, const std::vector<std::string>& items, std::string_view value);

// A free row's text is refused when nothing is left after removing the blanks (the ASCII space,
// characters below 32 and the full-width space).
inline bool refusedFreeText(std::string_view text) { return !hasNonBlank(text); }

// The index the colour picker gives for a swatch index: the first palette index of that colour
// (black 250 gives 7), and 7 for an index outside 1..255.
int pickedColourIndex(int index);

// An answer typed into a number field: empty stays empty, anything else becomes the number it reads
// as (0 when it is no number) in the number-to-text rule.
std::string numberAnswer(std::string_view text);

}  // namespace kubrix
