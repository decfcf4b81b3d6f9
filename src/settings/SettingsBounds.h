#pragma once

#include <cstdint>

#include "settings/ReaderSettings.h"

// A settings file may be damaged, hand-edited or written by another program.
// When it is loaded, every field holding what the program itself never
// writes takes its first-run value, field by field, so that a file of zeros,
// of 0xFF bytes or of random bytes gives a usable record and is written back
// as one; fields the program does not use stay as they were. Where the
// program uses a value it still takes it within the bounds below, which also
// depend on the screen.

// The loaded record with each field outside what the program writes set to
// its value in defaults, the first-run record for this screen.
ReaderSettings WithinProgramRanges(ReaderSettings stored, const ReaderSettings& defaults);

// The reading pane's height: 0 up to the screen's height.
int BoundedPaneHeight(std::int32_t stored, int screenHeight);
// The speed change per click in the reading pane: 1 to 5, as the general
// settings dialog offers.
int BoundedClickStep(std::int32_t stored);
