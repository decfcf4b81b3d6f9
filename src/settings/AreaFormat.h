#pragma once

#include <QColor>
#include <QFont>
#include <cstdint>

#include "base/QtText.h"
#include "settings/AreaChoice.h"
#include "settings/ReaderSettings.h"

// The one place where the settings' fonts become Qt's and back (colours:
// base/QtText.h).

// The font a LOGFONT describes: a negative height is the character height in
// pixels, a positive one the cell height (taken as the pixel size here).
QFont FontFromLogFont(const LogFont& font);

// The text pane's font: face, bold above weight 650, italic, and a height of
// pointSize x 19 twips, i.e. pointSize x 0.95 points.
QFont TextAreaFont(const AreaAppearance& area);

// The other way: the LOGFONT of a font chosen on screen, with the character
// height in pixels at `dotsPerInch` (negative, as the font dialog gives it);
// a height that did not change keeps its sign. What a QFont does not carry
// (character set, precisions, quality) comes from `base`, the font the choice
// started from, and so do the pitch and family while the face is the same.
LogFont LogFontFromFont(const QFont& font, const LogFont& base, double dotsPerInch);

// A font's size in tenths of a point, from its pixel size when it has none.
int TenthsOfPoint(const QFont& font, double dotsPerInch);

// The pane's font at the size the pane draws it, in points, for the font
// dialog to start from: the reading pane draws the LOGFONT's height in
// pixels, the text pane its point size.
QFont FontForChoosing(const AreaAppearance& area, AreaPane pane, double dotsPerInch);

// Whether the font dialog's answer differs from the font it started from as
// the dialog shows fonts: family, weight, italic and whole points. OK without
// a change gives the size back rounded, which must not move the pane's height.
bool ChoiceChangesFont(const QFont& chosen, const QFont& initial);
