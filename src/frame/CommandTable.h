#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <optional>
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

// A menu item: a command, or a separator (none).
using MenuItem = std::optional<CommandId>;

// The main menu's drop-downs: titles and items, and after them a submenu of
// items of which one is chosen (checked) at a time.
struct MenuSpec {
    QString title;
    std::vector<MenuItem> items;
    QString choiceTitle{};
    std::vector<CommandId> choices{};
};
const std::vector<MenuSpec>& MainMenu();
// The text pane's context menu, in order.
const std::vector<MenuItem>& ContextMenu();

// The control bar's 18 entries, by position: a command button, a separator,
// or one of the three slots holding the bar's own controls.
enum class BarEntry { Button, Separator, SpeedDisplay, SpeedSpin, Progress };
struct BarSlot {
    BarEntry entry;
    CommandId command = CommandId::ID_READ_TOGGLE;  // buttons only
};
const std::vector<BarSlot>& BarLayout();
