#include "widgets/CCommandKeyFilter.h"

#include <QAction>
#include <QKeyEvent>

namespace {

// Whether a key press is one of the action's keys, Shift and the keypad
// modifier aside.
bool IsKeyOf(const QAction* action, const QKeyEvent* key) {
    const auto loose = [](QKeyCombination combination) {
        return QKeyCombination(
            combination.keyboardModifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier),
            combination.key());
    };
    const QKeyCombination pressed = loose(key->keyCombination());
    for (const QKeySequence& shortcut : action->shortcuts()) {
        if (shortcut.count() == 1 && loose(shortcut[0]) == pressed) return true;
    }
    return false;
}

QAction* EnabledKeyOf(const QList<QAction*>& actions, const QKeyEvent* key) {
    for (QAction* action : actions) {
        if (action->isEnabled() && IsKeyOf(action, key)) return action;
    }
    return nullptr;
}

}  // namespace

CCommandKeyFilter::CCommandKeyFilter(QObject* widget, QList<QKeySequence> programKeys,
                                     QList<QAction*> keyActions, QList<QAction*> whileEnabled)
    : QObject(widget),
      programKeys_(std::move(programKeys)),
      keyActions_(std::move(keyActions)),
      whileEnabled_(std::move(whileEnabled)) {
    widget->installEventFilter(this);
}

bool CCommandKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (event->type() == QEvent::ShortcutOverride) {
        // Ignored: the window's shortcuts get the key, the widget does not.
        if (programKeys_.contains(QKeySequence(key->keyCombination())) ||
            EnabledKeyOf(whileEnabled_, key) != nullptr) {
            event->ignore();
            return true;
        }
        return false;
    }
    QAction* action = EnabledKeyOf(keyActions_, key);
    if (action == nullptr) action = EnabledKeyOf(whileEnabled_, key);
    if (action == nullptr) return false;
    action->trigger();
    return true;
}
