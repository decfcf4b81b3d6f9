#pragma once

#include <QColor>
#include <QFont>
#include <cstdint>

#include "settings/ReaderSettings.h"

// The one place where the settings' fonts and colours become Qt's and back.

QColor ColorFromColorRef(std::uint32_t colorRef);  // 0x00BBGGRR
std::uint32_t ColorRefFromColor(const QColor& color);

// The font a LOGFONT describes: a negative height is the character height in
// pixels, a positive one the cell height (taken as the pixel size here).
QFont FontFromLogFont(const LogFont& font);

// The text pane's font: face, bold above weight 650, italic, and a height of
// pointSize x 19 twips, i.e. pointSize x 0.95 points.
QFont TextAreaFont(const AreaAppearance& area);
