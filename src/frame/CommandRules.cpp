#include "frame/CommandRules.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "reading/ReadingIntervals.h"

bool IsCommandEnabled(CommandId command, const CommandContext& c) {
    const bool idle = !c.reading;
    const bool longSelection = IsLongSelection(c.selectionLength);
    switch (command) {
        case CommandId::ID_SHELF_SHOW:
        case CommandId::ID_SETTINGS_GENERAL:
        case CommandId::ID_SETTINGS_READ_AREA:
        case CommandId::ID_SETTINGS_TEXT_AREA:
        case CommandId::ID_LANGUAGE_RUSSIAN:
        case CommandId::ID_LANGUAGE_ENGLISH:
        case CommandId::ID_LANGUAGE_DESKTOP:
        case CommandId::ID_OPEN_DOCUMENT: return idle;
        case CommandId::ID_READ_SELECTION: return idle && longSelection;
        case CommandId::ID_BOOKMARK_PUT:
        case CommandId::ID_BOOKMARKS_SHOW: return idle && c.shelfKey > 0;
        case CommandId::ID_READ_FROM_CARET:
        case CommandId::ID_READ_TO_CARET:
        case CommandId::ID_READ_ALL: return idle && c.textLength != 0 && !longSelection;
        case CommandId::ID_SHELF_PUT: return idle && c.shelfKey == 0;
        case CommandId::ID_FIND: return idle && c.textLength != 0;
        case CommandId::ID_CONTENTS: return idle && c.hasOutline;
        case CommandId::ID_READ_CHAPTER: return idle && c.hasOutline && !longSelection;
        case CommandId::ID_READ_PREVIOUS_CHAPTER:
        case CommandId::ID_READ_NEXT_CHAPTER: return c.reading && c.hasOutline;
        case CommandId::ID_READ_BACK:
        case CommandId::ID_READ_FORWARD:
        case CommandId::ID_READ_BACK_SENTENCE:
        case CommandId::ID_READ_FORWARD_SENTENCE: return c.reading;
        case CommandId::ID_READ_TOGGLE:
        case CommandId::ID_HELP_HOTKEYS:
        case CommandId::ID_HELP_MOUSE:
        case CommandId::ID_LOAD_CLIPBOARD:
        case CommandId::ID_VIEW_WHOLE_WINDOW:
        case CommandId::ID_VIEW_SHARED_WINDOW:
        case CommandId::ID_COPY_TEXT:
        case CommandId::ID_FIND_NEXT:
        case CommandId::ID_FIND_SELECTION:
        case CommandId::ID_HELP_CONTENTS:
        case CommandId::ID_SPEED_UP:
        case CommandId::ID_SPEED_DOWN:
        case CommandId::ID_READING_STATS:
        case CommandId::ID_APP_ABOUT:
        case CommandId::ID_APP_EXIT: return true;
    }
    return true;
}

bool IsContextItemEnabled(CommandId command, const CommandContext& c) {
    using enum CommandId;
    if (command == ID_BOOKMARK_PUT || command == ID_BOOKMARKS_SHOW) return c.shelfKey > 0;
    const bool longSelection = IsLongSelection(c.selectionLength);
    if (command == ID_READ_ALL || command == ID_READ_FROM_CARET || command == ID_READ_TO_CARET) {
        return c.textLength != 0 && !longSelection;
    }
    if (command == ID_READ_SELECTION) return c.textLength != 0 && longSelection;
    if (command == ID_READ_CHAPTER) return c.hasOutline && !longSelection;
    if (command == ID_FIND) return c.textLength != 0;
    return true;
}

bool IsReadingMove(CommandId command) {
    using enum CommandId;
    return command == ID_READ_BACK || command == ID_READ_FORWARD ||
           command == ID_READ_BACK_SENTENCE || command == ID_READ_FORWARD_SENTENCE ||
           command == ID_READ_PREVIOUS_CHAPTER || command == ID_READ_NEXT_CHAPTER;
}

bool StopsReadingFirst(CommandId command) {
    using enum CommandId;
    constexpr std::array kStopping = {ID_OPEN_DOCUMENT,  ID_SHELF_SHOW,   ID_SHELF_PUT,
                                      ID_BOOKMARKS_SHOW, ID_HELP_HOTKEYS, ID_HELP_MOUSE,
                                      ID_CONTENTS,       ID_READING_STATS};
    return std::ranges::find(kStopping, command) != kStopping.end();
}

LanguageChoice LanguageChoiceOfCommand(CommandId command) {
    if (command == CommandId::ID_LANGUAGE_RUSSIAN) return LanguageChoice::Russian;
    if (command == CommandId::ID_LANGUAGE_ENGLISH) return LanguageChoice::English;
    return LanguageChoice::Desktop;
}

CommandId LanguageChoiceCommand(LanguageChoice choice) {
    switch (choice) {
        case LanguageChoice::Russian: return CommandId::ID_LANGUAGE_RUSSIAN;
        case LanguageChoice::English: return CommandId::ID_LANGUAGE_ENGLISH;
        case LanguageChoice::Desktop: break;
    }
    return CommandId::ID_LANGUAGE_DESKTOP;
}

MinimumSize MinimumWindowSize(int screenWidth, int screenHeight) {
    return {(screenWidth / 3) * 2, (screenHeight / 3) * 2};
}

int SharedPaneHeight(int clientHeight) { return (2 * clientHeight) / 3; }

int FittedPaneHeight(int paneHeight, int panesHeight) {
    return std::max(std::min(paneHeight, panesHeight - kMinPaneHeight), kMinPaneHeight);
}

int ClampSpeedLevel(int requested) {
    const auto low16 = static_cast<std::int16_t>(
        static_cast<std::uint16_t>(static_cast<std::uint32_t>(requested) & 0xFFFFu));
    return std::clamp<int>(low16, kMinSpeedLevel, kMaxSpeedLevel);
}
