#include "settings/ReaderSettings.h"

#include <algorithm>

#include "base/LittleEndian.h"

namespace {

constexpr std::size_t kPlacementSize = 44;
constexpr std::size_t kAreaSize = 104;
constexpr std::size_t kNameWidth = 32;

// The record's layout: offsets of the top-level fields.
enum Offset : std::size_t {
    kWindowLeft = 0,
    kWindowTop = 4,
    kWindowWidth = 8,
    kWindowHeight = 12,
    kReadingPaneHeight = 16,
    kWindowMaximized = 20,
    kControlBarPlacement = 24,
    kControlBarStyle = 68,
    kControlBarPlacementValid = 72,
    kReadingArea = 76,
    kTextArea = 180,
    kSpeedLevel = 284,
    kCommaDelayLevel = 288,
    kStopDelayLevel = 292,
    kStartupAction = 296,
    kShelfDialogWidth = 300,
    kShelfDialogHeight = 304,
    kShelfDialogMinWidth = 308,
    kShelfDialogMinHeight = 312,
    kBookmarksDialogWidth = 316,
    kBookmarksDialogHeight = 320,
    kBookmarksDialogMinWidth = 324,
    kBookmarksDialogMinHeight = 328,
    kSeveralWords = 332,
    kThresholdChars = 336,
    kClickStep = 340,
    kLayoutMarker = 344,
};

std::string TextOf(const std::array<char, kNameWidth>& block) {
    return le::GetBlock(std::string_view(block.data(), block.size()), 0, block.size());
}

void SetText(std::array<char, kNameWidth>& block, std::string_view text) {
    std::string bytes(block.size(), '\0');
    le::PutBlock(bytes, 0, block.size(), text);
    std::copy(bytes.begin(), bytes.end(), block.begin());
}

// The byte-sized and int-sized members of a record, named once for both
// directions of the conversion.
template <typename Record, typename Visit>
void ForEachInt(Record& s, Visit visit) {
    visit(kWindowLeft, s.windowLeft);
    visit(kWindowTop, s.windowTop);
    visit(kWindowWidth, s.windowWidth);
    visit(kWindowHeight, s.windowHeight);
    visit(kReadingPaneHeight, s.readingPaneHeight);
    visit(kWindowMaximized, s.windowMaximized);
    visit(kControlBarStyle, s.controlBarStyle);
    visit(kControlBarPlacementValid, s.controlBarPlacementValid);
    visit(kSpeedLevel, s.speedLevel);
    visit(kCommaDelayLevel, s.commaDelayLevel);
    visit(kStopDelayLevel, s.stopDelayLevel);
    visit(kStartupAction, s.startupAction);
    visit(kShelfDialogWidth, s.shelfDialogWidth);
    visit(kShelfDialogHeight, s.shelfDialogHeight);
    visit(kShelfDialogMinWidth, s.shelfDialogMinWidth);
    visit(kShelfDialogMinHeight, s.shelfDialogMinHeight);
    visit(kBookmarksDialogWidth, s.bookmarksDialogWidth);
    visit(kBookmarksDialogHeight, s.bookmarksDialogHeight);
    visit(kBookmarksDialogMinWidth, s.bookmarksDialogMinWidth);
    visit(kBookmarksDialogMinHeight, s.bookmarksDialogMinHeight);
    visit(kSeveralWords, s.severalWords);
    visit(kThresholdChars, s.thresholdChars);
    visit(kClickStep, s.clickStep);
    visit(kLayoutMarker, s.layoutMarker);
}

template <typename Placement, typename Visit>
void ForEachInt(Placement& p, std::size_t base, Visit visit) {
    visit(base + 0, p.length);
    visit(base + 4, p.flags);
    visit(base + 8, p.showCmd);
    visit(base + 12, p.minPositionX);
    visit(base + 16, p.minPositionY);
    visit(base + 20, p.maxPositionX);
    visit(base + 24, p.maxPositionY);
    visit(base + 28, p.normalLeft);
    visit(base + 32, p.normalTop);
    visit(base + 36, p.normalRight);
    visit(base + 40, p.normalBottom);
}

template <typename Area, typename VisitInt, typename VisitByte, typename VisitName>
void ForEachField(Area& a, std::size_t base, VisitInt visitInt, VisitByte visitByte,
                  VisitName visitName) {
    visitInt(base + 0, a.font.height);
    visitInt(base + 4, a.font.width);
    visitInt(base + 8, a.font.escapement);
    visitInt(base + 12, a.font.orientation);
    visitInt(base + 16, a.font.weight);
    visitByte(base + 20, a.font.italic);
    visitByte(base + 21, a.font.underline);
    visitByte(base + 22, a.font.strikeOut);
    visitByte(base + 23, a.font.charSet);
    visitByte(base + 24, a.font.outPrecision);
    visitByte(base + 25, a.font.clipPrecision);
    visitByte(base + 26, a.font.quality);
    visitByte(base + 27, a.font.pitchAndFamily);
    visitName(base + 28, a.font.faceName);
    visitInt(base + 60, a.pointSize);
    visitName(base + 64, a.styleName);
    visitInt(base + 96, a.textColor);
    visitInt(base + 100, a.backgroundColor);
}

static_assert(kReadingArea + kAreaSize == kTextArea);
static_assert(kControlBarPlacement + kPlacementSize == kControlBarStyle);

}  // namespace

std::string LogFont::FaceName() const { return TextOf(faceName); }
void LogFont::SetFaceName(std::string_view face) { SetText(faceName, face); }
std::string AreaAppearance::StyleName() const { return TextOf(styleName); }
void AreaAppearance::SetStyleName(std::string_view style) { SetText(styleName, style); }

AreaAppearance DefaultReadingArea() {
    AreaAppearance area;
    area.font.height = -70;
    area.font.weight = 400;
    area.font.charSet = 204;
    area.font.outPrecision = 3;
    area.font.clipPrecision = 2;
    area.font.quality = 1;
    area.font.pitchAndFamily = 0x22;
    area.font.SetFaceName("Arial");
    area.pointSize = 42;
    area.SetStyleName("Regular");
    area.textColor = 0x0051E2EA;  // red 234, green 226, blue 81
    area.backgroundColor = 0;
    return area;
}

AreaAppearance DefaultTextArea() {
    AreaAppearance area;
    area.font.height = 20;
    area.font.weight = 400;
    area.font.charSet = 204;
    area.font.outPrecision = 3;
    area.font.clipPrecision = 2;
    area.font.quality = 1;
    area.font.pitchAndFamily = 0x12;
    area.font.SetFaceName("Times New Roman");
    area.pointSize = 12;
    area.SetStyleName("Regular");
    area.textColor = 0;
    area.backgroundColor = 0x00E4FEFC;  // red 252, green 254, blue 228
    return area;
}

ReaderSettings DefaultSettings(int screenWidth, int screenHeight) {
    ReaderSettings s;
    if (screenWidth <= 1300) {
        s.windowLeft = 50;
        s.windowTop = 50;
        s.windowWidth = screenWidth - 100;
        s.windowHeight = screenHeight - 100;
        s.readingPaneHeight = s.windowHeight / 2;
    } else {
        s.windowWidth = 1200;
        s.windowHeight = 800;
        s.windowLeft = (screenWidth - 1200) / 2;
        s.windowTop = (screenHeight - 800) / 2;
        s.readingPaneHeight = 350;
    }
    s.readingArea = DefaultReadingArea();
    s.textArea = DefaultTextArea();
    s.speedLevel = kDefaultSpeedLevel;
    s.commaDelayLevel = kDefaultCommaDelayLevel;
    s.stopDelayLevel = kDefaultStopDelayLevel;
    s.thresholdChars = kDefaultThresholdChars;
    s.clickStep = kDefaultClickStep;
    s.layoutMarker = ReaderSettings::kLayoutMarker;
    return s;
}

std::string SerializeSettings(const ReaderSettings& settings) {
    std::string bytes(ReaderSettings::kFileSize, '\0');
    const auto putInt = [&](std::size_t offset, auto value) {
        le::PutU32(bytes, offset, static_cast<std::uint32_t>(value));
    };
    const auto putByte = [&](std::size_t offset, std::uint8_t value) {
        bytes[offset] = static_cast<char>(value);
    };
    const auto putName = [&](std::size_t offset, const std::array<char, kNameWidth>& name) {
        std::copy(name.begin(), name.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    };
    ForEachInt(settings, putInt);
    ForEachInt(settings.controlBarPlacement, kControlBarPlacement, putInt);
    ForEachField(settings.readingArea, kReadingArea, putInt, putByte, putName);
    ForEachField(settings.textArea, kTextArea, putInt, putByte, putName);
    return bytes;
}

ReaderSettings ParseSettings(std::string_view fileBytes, const ReaderSettings& defaults) {
    std::string bytes = SerializeSettings(defaults);
    const std::string_view record = fileBytes.substr(0, ReaderSettings::kFileSize);
    std::copy(record.begin(), record.end(), bytes.begin());

    ReaderSettings settings;
    const auto getInt = [&](std::size_t offset, auto& field) {
        field = static_cast<std::remove_reference_t<decltype(field)>>(le::GetU32(bytes, offset));
    };
    const auto getByte = [&](std::size_t offset, std::uint8_t& field) {
        field = static_cast<std::uint8_t>(bytes[offset]);
    };
    const auto getName = [&](std::size_t offset, std::array<char, kNameWidth>& name) {
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), kNameWidth, name.begin());
    };
    ForEachInt(settings, getInt);
    ForEachInt(settings.controlBarPlacement, kControlBarPlacement, getInt);
    ForEachField(settings.readingArea, kReadingArea, getInt, getByte, getName);
    ForEachField(settings.textArea, kTextArea, getInt, getByte, getName);

    if (settings.layoutMarker != ReaderSettings::kLayoutMarker) {
        settings.severalWords = 0;
        settings.thresholdChars = kDefaultThresholdChars;
        settings.clickStep = kDefaultClickStep;
        settings.layoutMarker = ReaderSettings::kLayoutMarker;
    }
    return settings;
}

StartupAction StartupActionOf(std::int32_t stored) {
    switch (stored) {
        case static_cast<std::int32_t>(StartupAction::LoadClipboard):
            return StartupAction::LoadClipboard;
        case static_cast<std::int32_t>(StartupAction::ShowShelf):
            return StartupAction::ShowShelf;
        default:
            return StartupAction::Nothing;
    }
}
