#pragma once

#include <cstdint>
#include <string>

#include "settings/ReaderSettings.h"

// What the area font and colour dialog makes of the user's choices; the
// dialog itself only shows them.

enum class AreaPane { Reading, Text };

// Only weight 700 is named bold, although the text pane draws any weight
// above 650 bold: "Regular", "Italic", "Bold" or "Bold Italic".
std::string StyleNameFor(const LogFont& font);

// The dialog's "Дефолт": the first-run look of the pane, except that the
// character set byte is 0 here.
AreaAppearance AreaDefaults(AreaPane pane);

// A font chosen in the font dialog, with its size in tenths of a point: the
// size is kept in whole points (10.5 becomes 10) and the style named anew.
void ApplyChosenFont(AreaAppearance& area, const LogFont& chosen, int tenthsOfPoint);

// The size the font dialog shows for the pane's font, in whole points: the
// reading pane draws its LOGFONT's height in pixels at `dotsPerInch`, the
// text pane its point size.
int ShownPointSize(const AreaAppearance& area, AreaPane pane, double dotsPerInch);
