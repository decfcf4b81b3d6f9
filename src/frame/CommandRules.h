#pragma once

#include "base/InterfaceLanguage.h"
#include "frame/CommandId.h"

// What the enabling of the commands depends on.
struct CommandContext {
    bool reading = false;
    int shelfKey = -1;
    int textLength = 0;
    int selectionLength = 0;
    bool hasOutline = false;
};

// A selection counts as long above 70 characters: reading it is offered
// instead of the three tasks that start or end at the caret.
constexpr int kLongSelection = 70;
inline bool IsLongSelection(int selectionLength) { return selectionLength > kLongSelection; }

bool IsCommandEnabled(CommandId command, const CommandContext& context);

// Which items of the text pane's context menu are gray. Unlike the main menu
// it ignores whether reading runs: a right-click during reading stops it.
bool IsContextItemEnabled(CommandId command, const CommandContext& context);

// Left, Right and Ctrl with them, and Ctrl with PgUp and PgDn, move the
// reading while it runs; otherwise the keys are the text pane's own.
bool IsReadingMove(CommandId command);

// The commands whose dialogs take the user away from the text stop reading
// before they open; the about box and the help file leave it running.
bool StopsReadingFirst(CommandId command);

// The language menu's items and the choices they stand for.
LanguageChoice LanguageChoiceOfCommand(CommandId command);
CommandId LanguageChoiceCommand(LanguageChoice choice);

// The smallest window size the user may drag the frame to: two thirds of the
// screen, divided before multiplying.
struct MinimumSize {
    int width;
    int height;
};
MinimumSize MinimumWindowSize(int screenWidth, int screenHeight);

// The reading pane's height when F9 brings the two panes back: two thirds of
// the client height, multiplied before dividing.
int SharedPaneHeight(int clientHeight);

// Neither pane is made lower than this while both are shown.
constexpr int kMinPaneHeight = 30;
// The reading pane's height above a text pane in panes `panesHeight` high
// together (the splitter's bar left out): as it is, unless the text pane
// would be lower than its minimum; never below the reading pane's own.
int FittedPaneHeight(int paneHeight, int panesHeight);

// The level the speed control ends up at when asked for `requested`: the
// control keeps the low 16 bits as a signed number and stays within 1..50.
int ClampSpeedLevel(int requested);
