#include "frame/CommandActions.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "frame/CommandTable.h"

CommandActions CreateCommandActions(QWidget& window, const CommandRunner& run) {
    CommandActions actions;
    for (const CommandSpec& spec : CommandTable()) {
        auto* action = new QAction(&window);
        action->setText(spec.menuText.isEmpty() ? spec.tooltip : spec.menuText);
        action->setToolTip(spec.tooltip);
        if (!spec.icon.isEmpty()) action->setIcon(QIcon(spec.icon));
        action->setShortcuts(spec.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setObjectName(QString("command%1").arg(static_cast<int>(spec.id)));
        QObject::connect(action, &QAction::triggered, &window, [run, id = spec.id] { run(id); });
        window.addAction(action);
        actions[spec.id] = action;
    }
    return actions;
}

QList<QKeySequence> ProgramKeys() {
    QList<QKeySequence> keys;
    for (const CommandSpec& spec : CommandTable()) {
        if (!IsReadingMove(spec.id)) keys += spec.keys;
    }
    return keys;
}

QList<QAction*> ReadingMoveActions(const CommandActions& actions) {
    QList<QAction*> moves;
    for (const auto& [id, action] : actions) {
        if (IsReadingMove(id)) moves += action;
    }
    return moves;
}

void FillMenuBar(QMenuBar& menuBar, const CommandActions& actions) {
    for (const MenuSpec& spec : MainMenu()) {
        QMenu* menu = menuBar.addMenu(spec.title);
        for (const MenuItem& item : spec.items) {
            if (item) {
                menu->addAction(actions.at(*item));
            } else {
                menu->addSeparator();
            }
        }
        if (spec.choices.empty()) continue;
        QMenu* submenu = menu->addMenu(spec.choiceTitle);
        auto* group = new QActionGroup(submenu);
        for (const CommandId id : spec.choices) {
            QAction* action = actions.at(id);
            action->setCheckable(true);
            submenu->addAction(group->addAction(action));
        }
    }
}

void ExecContextMenu(QWidget& parent, const CommandActions& actions, const CommandContext& context,
                     const QPoint& globalPosition, const CommandRunner& run) {
    QMenu menu(&parent);
    for (const MenuItem& id : ContextMenu()) {
        if (!id) {
            menu.addSeparator();
            continue;
        }
        QAction* item = menu.addAction(actions.at(*id)->text());
        item->setEnabled(IsContextItemEnabled(*id, context));
        QObject::connect(item, &QAction::triggered, &parent,
                         [run, command = *id] { run(command); });
    }
    menu.exec(globalPosition);
}
