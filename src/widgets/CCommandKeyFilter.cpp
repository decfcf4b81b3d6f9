#include "widgets/CCommandKeyFilter.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <optional>

#include "base/KeyPositions.h"

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

// A command key pressed where the layout gives the letter key no Latin
// letter: the key as the one the US layout has in its place. Qt matches a
// shortcut's letter only in the layout's other groups, and a Russian layout
// alone has none.
std::optional<QKeyCombination> KeyInUsPlace(const QKeyEvent* key) {
    constexpr Qt::KeyboardModifiers kCommand =
        Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    // Below 0x100 the key is a Latin-1 character; from Key_Escape on, no
    // character at all.
    if (!(key->modifiers() & kCommand) || key->key() < 0x100 || key->key() >= Qt::Key_Escape) {
        return std::nullopt;
    }
    const char letter = UsLetterAtKeycode(key->nativeScanCode());
    if (letter == 0) return std::nullopt;
    return QKeyCombination(key->modifiers(), static_cast<Qt::Key>(Qt::Key_A + (letter - 'A')));
}

// The enabled action of the widget's window that has the key, as the
// window's shortcut would find it.
QAction* WindowActionOf(QObject* widget, QKeyCombination combination) {
    auto* window = qobject_cast<QWidget*>(widget);
    if (window == nullptr) return nullptr;
    for (QAction* action : window->window()->actions()) {
        if (action->isEnabled() && action->shortcuts().contains(QKeySequence(combination))) {
            return action;
        }
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
    if (const auto placed = KeyInUsPlace(key)) {
        if (QAction* command = WindowActionOf(watched, *placed)) {
            command->trigger();
            return true;
        }
        // Not a command: the widget's own key, such as Ctrl+A.
        QKeyEvent moved(QEvent::KeyPress, placed->key(), placed->keyboardModifiers(),
                        key->nativeScanCode(), key->nativeVirtualKey(), key->nativeModifiers(),
                        key->text(), key->isAutoRepeat(), static_cast<quint16>(key->count()));
        QCoreApplication::sendEvent(watched, &moved);
        return true;
    }
    QAction* action = EnabledKeyOf(keyActions_, key);
    if (action == nullptr) action = EnabledKeyOf(whileEnabled_, key);
    if (action == nullptr) return false;
    action->trigger();
    return true;
}
