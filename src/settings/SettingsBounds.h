#pragma once

#include <cstdint>

// A settings file may be damaged, hand-edited or written by another program:
// what it holds is kept in the record and written back as it was, but where
// the program uses a value it takes it within these bounds, so that no
// arithmetic overflows and nothing is laid out off the screen. (The speed
// level, the delay levels, the dialog sizes and the colours are bounded by
// the rules that use them.)

// The reading pane's height: 0 up to the screen's height.
int BoundedPaneHeight(std::int32_t stored, int screenHeight);
// The speed change per click in the reading pane: 1 to 5, as the general
// settings dialog offers.
int BoundedClickStep(std::int32_t stored);
