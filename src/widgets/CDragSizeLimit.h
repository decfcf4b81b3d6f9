#pragma once

#include <QObject>
#include <QSize>

class QWidget;

// Keeps the user from dragging a window smaller than a limit, without making
// a window that is placed smaller than the limit grow: the window's minimum
// size follows its size up to the limit and never exceeds its current size,
// nor, while the window is maximised, the size it is restored to.
class CDragSizeLimit : public QObject {
public:
    // Owned by the window.
    CDragSizeLimit(QWidget* window, QSize limit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool ScreenSized() const;
    void Apply();

    QWidget* window_;
    QSize limit_;
};
