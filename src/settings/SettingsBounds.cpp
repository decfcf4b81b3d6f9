#include "settings/SettingsBounds.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "settings/AreaChoice.h"

namespace {

// X11 keeps window positions and sizes in 16 bits.
constexpr std::int64_t kLargestCoordinate = 32767;
// Far beyond any font the font dialog offers.
constexpr std::int64_t kLargestFontPixels = 4000;
constexpr std::int64_t kLargestPointSize = 3000;
// The dialogs' ranges.
constexpr std::int64_t kFewestSpeedLevel = 1;
constexpr std::int64_t kMostSpeedLevel = 50;
constexpr std::int64_t kMostDelayLevel = 7;
constexpr std::int64_t kFewestThresholdChars = 5;
constexpr std::int64_t kMostThresholdChars = 20;
constexpr std::int64_t kMostClickStep = 5;
constexpr std::int64_t kMostStartupAction = 2;

bool Within(std::int64_t value, std::int64_t low, std::int64_t high) {
    return value >= low && value <= high;
}

template <typename T>
void KeepOnlyIf(bool usable, T& field, const T& fallback) {
    if (!usable) field = fallback;
}

// As the font dialog gives one: not empty, terminated within its width, and
// without control characters.
bool IsFaceName(const std::array<char, 32>& name) {
    const auto end = std::find(name.begin(), name.end(), '\0');
    if (end == name.begin() || end == name.end()) return false;
    return std::all_of(name.begin(), end, [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x20 && byte != 0x7F;
    });
}

bool IsStyleName(std::string_view style) {
    return style == "Regular" || style == "Bold" || style == "Italic" || style == "Bold Italic";
}

// A COLORREF has no bits above blue.
bool IsColor(std::uint32_t color) { return (color >> 24) == 0; }

void KeepFontInRange(LogFont& font, const LogFont& defaults) {
    KeepOnlyIf(font.height != 0 && Within(font.height, -kLargestFontPixels, kLargestFontPixels),
               font.height, defaults.height);
    // The program writes 0 here whatever font is chosen.
    KeepOnlyIf(font.width == 0, font.width, defaults.width);
    KeepOnlyIf(font.escapement == 0, font.escapement, defaults.escapement);
    KeepOnlyIf(font.orientation == 0, font.orientation, defaults.orientation);
    KeepOnlyIf(Within(font.weight, 1, 1000), font.weight, defaults.weight);
    KeepOnlyIf(font.italic <= 1, font.italic, defaults.italic);
    KeepOnlyIf(font.underline <= 1, font.underline, defaults.underline);
    KeepOnlyIf(font.strikeOut <= 1, font.strikeOut, defaults.strikeOut);
    KeepOnlyIf(IsFaceName(font.faceName), font.faceName, defaults.faceName);
}

void KeepAreaInRange(AreaAppearance& area, const AreaAppearance& defaults) {
    KeepFontInRange(area.font, defaults.font);
    KeepOnlyIf(Within(area.pointSize, 1, kLargestPointSize), area.pointSize, defaults.pointSize);
    if (!IsStyleName(area.StyleName())) area.SetStyleName(StyleNameFor(area.font));
    KeepOnlyIf(IsColor(area.textColor), area.textColor, defaults.textColor);
    KeepOnlyIf(IsColor(area.backgroundColor), area.backgroundColor, defaults.backgroundColor);
    // Text in the colour of its background cannot be read.
    if (area.textColor == area.backgroundColor) {
        area.textColor = defaults.textColor;
        area.backgroundColor = defaults.backgroundColor;
    }
}

void KeepWindowInRange(ReaderSettings& s, const ReaderSettings& defaults) {
    const bool rectangle = Within(s.windowLeft, -kLargestCoordinate, kLargestCoordinate) &&
                           Within(s.windowTop, -kLargestCoordinate, kLargestCoordinate) &&
                           Within(s.windowWidth, 1, kLargestCoordinate) &&
                           Within(s.windowHeight, 1, kLargestCoordinate);
    if (!rectangle) {
        s.windowLeft = defaults.windowLeft;
        s.windowTop = defaults.windowTop;
        s.windowWidth = defaults.windowWidth;
        s.windowHeight = defaults.windowHeight;
    }
    KeepOnlyIf(Within(s.readingPaneHeight, 1, kLargestCoordinate), s.readingPaneHeight,
               defaults.readingPaneHeight);
    KeepOnlyIf(Within(s.windowMaximized, 0, 1), s.windowMaximized, defaults.windowMaximized);
    // A placement the program wrote says how long it is.
    const bool placement =
        s.controlBarPlacementValid == 0 ||
        (s.controlBarPlacementValid == 1 && s.controlBarPlacement.length == WindowPlacement::kSize);
    KeepOnlyIf(placement, s.controlBarPlacementValid, 0);
    for (std::int32_t* size :
         {&s.shelfDialogWidth, &s.shelfDialogHeight, &s.shelfDialogMinWidth,
          &s.shelfDialogMinHeight, &s.bookmarksDialogWidth, &s.bookmarksDialogHeight,
          &s.bookmarksDialogMinWidth, &s.bookmarksDialogMinHeight}) {
        // 0 is "not known yet".
        KeepOnlyIf(Within(*size, 0, kLargestCoordinate), *size, 0);
    }
}

}  // namespace

ReaderSettings WithinProgramRanges(ReaderSettings s, const ReaderSettings& defaults) {
    KeepWindowInRange(s, defaults);
    KeepAreaInRange(s.readingArea, defaults.readingArea);
    KeepAreaInRange(s.textArea, defaults.textArea);
    KeepOnlyIf(Within(s.speedLevel, kFewestSpeedLevel, kMostSpeedLevel), s.speedLevel,
               defaults.speedLevel);
    KeepOnlyIf(Within(s.commaDelayLevel, 0, kMostDelayLevel), s.commaDelayLevel,
               defaults.commaDelayLevel);
    KeepOnlyIf(Within(s.stopDelayLevel, 0, kMostDelayLevel), s.stopDelayLevel,
               defaults.stopDelayLevel);
    KeepOnlyIf(Within(s.startupAction, 0, kMostStartupAction), s.startupAction,
               defaults.startupAction);
    KeepOnlyIf(Within(s.severalWords, 0, 1), s.severalWords, defaults.severalWords);
    KeepOnlyIf(Within(s.thresholdChars, kFewestThresholdChars, kMostThresholdChars),
               s.thresholdChars, defaults.thresholdChars);
    KeepOnlyIf(Within(s.clickStep, 1, kMostClickStep), s.clickStep, defaults.clickStep);
    return s;
}

int BoundedPaneHeight(std::int32_t stored, int screenHeight) {
    return std::clamp<int>(stored, 0, std::max(screenHeight, 0));
}

int BoundedClickStep(std::int32_t stored) { return std::clamp<int>(stored, 1, 5); }
