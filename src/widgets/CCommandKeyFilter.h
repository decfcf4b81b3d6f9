#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>

class QAction;

// Watches a widget's key presses for the program's command keys: the widget
// must let them through to the window's shortcuts instead of handling them
// itself, and a few commands are triggered here, where the window's shortcut
// would not see their key.
class CCommandKeyFilter : public QObject {
    Q_OBJECT

public:
    // Installs itself on `widget`, which owns it.
    // - `programKeys`: keys the widget never takes for itself.
    // - `keyActions`: commands triggered here when their key press reaches
    //   the widget: under X11 a shortcut with the keypad modifier never
    //   matches, and whether Shift is part of "+" depends on the layout. The
    //   press is compared without Shift and the keypad modifier.
    // - `whileEnabled`: commands whose keys belong to the program only while
    //   the command is enabled: while reading runs the arrows move the
    //   reading, otherwise the caret, as usual.
    // A letter key with Ctrl or Alt that gives no Latin letter counts as the
    // key in its place in the US layout: it runs the window's command of
    // that key, or reaches the widget as that key.
    CCommandKeyFilter(QObject* widget, QList<QKeySequence> programKeys, QList<QAction*> keyActions,
                      QList<QAction*> whileEnabled);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QKeySequence> programKeys_;
    QList<QAction*> keyActions_;
    QList<QAction*> whileEnabled_;
};
