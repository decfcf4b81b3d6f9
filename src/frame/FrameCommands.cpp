#include "frame/FrameCommands.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "frame/CommandTable.h"
#include "text/CTextCtrl.h"

CommandActions CreateCommandActions(QMainWindow* window, CTextCtrl& text,
                                    const std::function<void(CommandId)>& onCommand) {
    using enum CommandId;
    CommandActions actions;
    QList<QKeySequence> programKeys;
    for (const CommandSpec& spec : CommandTable()) {
        auto* action = new QAction(window);
        action->setText(spec.menuText.isEmpty() ? spec.tooltip : spec.menuText);
        action->setToolTip(spec.tooltip);
        if (!spec.icon.isEmpty()) action->setIcon(QIcon(spec.icon));
        action->setShortcuts(spec.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setObjectName(QString("command%1").arg(static_cast<int>(spec.id)));
        QObject::connect(action, &QAction::triggered, window,
                         [onCommand, id = spec.id] { onCommand(id); });
        window->addAction(action);
        actions[spec.id] = action;
        const bool onlyWhileReading = spec.id == ID_READ_BACK || spec.id == ID_READ_FORWARD ||
                                      spec.id == ID_READ_BACK_SENTENCE ||
                                      spec.id == ID_READ_FORWARD_SENTENCE;
        if (!onlyWhileReading) programKeys += spec.keys;
    }
    text.SetProgramKeys(programKeys);
    text.SetKeyActions({actions.at(ID_SPEED_UP), actions.at(ID_SPEED_DOWN)});
    text.SetWhileEnabledActions({actions.at(ID_READ_BACK), actions.at(ID_READ_FORWARD),
                                 actions.at(ID_READ_BACK_SENTENCE),
                                 actions.at(ID_READ_FORWARD_SENTENCE)});
    return actions;
}

void CreateMainMenu(QMainWindow* window, const CommandActions& actions) {
    for (const MenuSpec& spec : MainMenu()) {
        QMenu* menu = window->menuBar()->addMenu(spec.title);
        for (const MenuItem& item : spec.items) {
            if (item) {
                menu->addAction(actions.at(*item));
            } else {
                menu->addSeparator();
            }
        }
    }
}

void ShowTextContextMenu(QMainWindow* window, const CommandActions& actions,
                         const CommandContext& context, const QPoint& globalPosition,
                         const std::function<void(CommandId)>& onCommand) {
    QMenu menu(window);
    for (const MenuItem& id : ContextMenu()) {
        if (!id) {
            menu.addSeparator();
            continue;
        }
        QAction* item = menu.addAction(actions.at(*id)->text());
        item->setEnabled(IsContextItemEnabled(*id, context));
        QObject::connect(item, &QAction::triggered, window,
                         [onCommand, command = *id] { onCommand(command); });
    }
    menu.exec(globalPosition);
}
