#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/ReaderExtras.h"

// The font of a pane in the layout of the Win32 LOGFONTA structure, which is
// how the settings file stores it (60 bytes).
struct LogFont {
    std::int32_t height = 0;  // negative: character height in pixels; positive: cell height
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    // Zero-terminated Windows-1251; kept as raw bytes so a record round-trips exactly.
    std::array<char, 32> faceName{};

    std::string FaceName() const;
    void SetFaceName(std::string_view face);

    bool operator==(const LogFont&) const = default;
};

// Font and colours of one pane (104 bytes in the file). Colours are
// 0x00BBGGRR values.
struct AreaAppearance {
    LogFont font;
    std::int32_t pointSize = 0;
    std::array<char, 32> styleName{};
    std::uint32_t textColor = 0;
    std::uint32_t backgroundColor = 0;

    std::string StyleName() const;
    void SetStyleName(std::string_view style);

    bool operator==(const AreaAppearance&) const = default;
};

// A window's placement in the layout of the Win32 WINDOWPLACEMENT structure
// (44 bytes in the file).
struct WindowPlacement {
    static constexpr std::uint32_t kSize = 44;  // what the length field holds
    static constexpr std::uint32_t kShowNormal = 1;

    std::uint32_t length = 0;
    std::uint32_t flags = 0;
    std::uint32_t showCmd = 0;
    std::int32_t minPositionX = 0;
    std::int32_t minPositionY = 0;
    std::int32_t maxPositionX = 0;
    std::int32_t maxPositionY = 0;
    std::int32_t normalLeft = 0;
    std::int32_t normalTop = 0;
    std::int32_t normalRight = 0;
    std::int32_t normalBottom = 0;

    bool operator==(const WindowPlacement&) const = default;
};

// Every preference and every remembered window size of the program: one record
// that is also, byte for byte, the settings file lmn.dat. Parsing keeps every
// byte as it is; WithinProgramRanges (SettingsBounds.h) is what sets a loaded
// record's unusable fields back to their first-run values.
struct ReaderSettings {
    static constexpr std::size_t kFileSize = 348;
    static constexpr std::int32_t kLayoutMarker = 132;

    std::int32_t windowLeft = 0;
    std::int32_t windowTop = 0;
    std::int32_t windowWidth = 0;
    std::int32_t windowHeight = 0;
    std::int32_t readingPaneHeight = 0;
    std::int32_t windowMaximized = 0;
    WindowPlacement controlBarPlacement;
    std::int32_t controlBarStyle = 0;
    std::int32_t controlBarPlacementValid = 0;
    AreaAppearance readingArea;
    AreaAppearance textArea;
    std::int32_t speedLevel = 0;
    std::int32_t commaDelayLevel = 0;
    std::int32_t stopDelayLevel = 0;
    std::int32_t startupAction = 0;  // 0 nothing, 1 load the clipboard, 2 show the shelf
    std::int32_t shelfDialogWidth = 0;
    std::int32_t shelfDialogHeight = 0;
    std::int32_t shelfDialogMinWidth = 0;
    std::int32_t shelfDialogMinHeight = 0;
    std::int32_t bookmarksDialogWidth = 0;
    std::int32_t bookmarksDialogHeight = 0;
    std::int32_t bookmarksDialogMinWidth = 0;
    std::int32_t bookmarksDialogMinHeight = 0;
    std::int32_t severalWords = 0;
    std::int32_t thresholdChars = 0;
    std::int32_t clickStep = 0;
    std::int32_t layoutMarker = 0;

    // Not part of the record's bytes: kept in lmn.ini.
    ReaderExtras extras;

    bool operator==(const ReaderSettings&) const = default;
};

// The first-run reading preferences; the general settings dialog's "Дефолт"
// restores them.
constexpr std::int32_t kDefaultSpeedLevel = 25;
constexpr std::int32_t kDefaultCommaDelayLevel = 3;
constexpr std::int32_t kDefaultStopDelayLevel = 5;
constexpr std::int32_t kDefaultThresholdChars = 10;
constexpr std::int32_t kDefaultClickStep = 1;

// Only 1 stands for several words at a time; any other stored value reads
// one word at a time, in the cutter and the pane alike.
inline bool IsSeveralWords(std::int32_t severalWords) { return severalWords == 1; }

// What the program does when it starts without a file. A stored value it
// does not know does nothing.
enum class StartupAction { Nothing = 0, LoadClipboard = 1, ShowShelf = 2 };
StartupAction StartupActionOf(std::int32_t stored);

// The first-run record for a primary screen of the given size in pixels.
ReaderSettings DefaultSettings(int screenWidth, int screenHeight);
// The first-run appearance of each pane; the area dialog's reset uses them too.
AreaAppearance DefaultReadingArea();
AreaAppearance DefaultTextArea();

// The 348 bytes of the settings file.
std::string SerializeSettings(const ReaderSettings& settings);
// Reads a settings file's bytes. A short file (an older, shorter record, or an
// empty file) fills what it reaches; every byte beyond its end is taken from
// defaults, the first-run record, so a field is never left zero because the
// file stops early. Then a record without the layout marker (an older layout)
// gets the defaults of the three fields that layout lacked.
ReaderSettings ParseSettings(std::string_view bytes, const ReaderSettings& defaults);
