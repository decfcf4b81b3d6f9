#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <vector>

#include "frame/CommandId.h"

// Everything the desktop shows of one command: its menu item text ("\t"
// separates the shortcut shown at the right), its keys, and the tooltip and
// icon of its control bar button.
struct CommandSpec {
    CommandId id;
    QString menuText;
    QList<QKeySequence> keys;
    QString tooltip;
    QString icon;  // resource path, empty without a bar button
};

const std::vector<CommandSpec>& CommandTable();
const CommandSpec& FindCommand(CommandId id);

// The main menu's drop-downs: titles and command ids, with
// CommandId{} (0) standing for a separator.
struct MenuSpec {
    QString title;
    std::vector<CommandId> items;
};
const std::vector<MenuSpec>& MainMenu();
// The text pane's context menu, in order, with separators as in MainMenu.
const std::vector<CommandId>& ContextMenu();

// The control bar's 18 entries, by position: a command button, a separator
// (CommandId{}), or one of the three slots holding the bar's own controls.
enum class BarEntry { Button, Separator, SpeedDisplay, SpeedSpin, Progress };
struct BarSlot {
    BarEntry entry;
    CommandId command;
};
const std::vector<BarSlot>& BarLayout();
