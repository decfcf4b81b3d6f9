#pragma once

#include <functional>
#include <map>

#include "frame/CommandId.h"
#include "frame/CommandRules.h"

class CTextCtrl;
class QAction;
class QMainWindow;
class QPoint;

using CommandActions = std::map<CommandId, QAction*>;

// One action per command of the command table, on the window, each
// triggering `onCommand`; the text control learns which keys are the
// program's and which commands it triggers itself.
CommandActions CreateCommandActions(QMainWindow* window, CTextCtrl& text,
                                    const std::function<void(CommandId)>& onCommand);
// The main menu's drop-downs from the command table.
void CreateMainMenu(QMainWindow* window, const CommandActions& actions);
// The text pane's context menu at a point, its items gray as its own rules
// say; the chosen item goes to `onCommand`.
void ShowTextContextMenu(QMainWindow* window, const CommandActions& actions,
                         const CommandContext& context, const QPoint& globalPosition,
                         const std::function<void(CommandId)>& onCommand);
