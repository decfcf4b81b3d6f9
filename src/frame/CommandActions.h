#pragma once

#include <QKeySequence>
#include <QList>
#include <QPoint>
#include <functional>
#include <map>

#include "frame/CommandId.h"
#include "frame/CommandRules.h"

class QAction;
class QMenuBar;
class QWidget;

// The command table turned into the window's actions, menus and keys. Each
// action runs its command through `run`.
using CommandActions = std::map<CommandId, QAction*>;
using CommandRunner = std::function<void(CommandId)>;

// One action per command, with its text, tooltip, icon and keys, added to the
// window so that its keys work wherever the focus is.
CommandActions CreateCommandActions(QWidget& window, const CommandRunner& run);
// Every key of every command.
QList<QKeySequence> ProgramKeys();
void FillMenuBar(QMenuBar& menuBar, const CommandActions& actions);
// The text pane's menu at a point, its items enabled by the context rule.
void ExecContextMenu(QWidget& parent, const CommandActions& actions, const CommandContext& context,
                     const QPoint& globalPosition, const CommandRunner& run);
