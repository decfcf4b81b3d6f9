#pragma once

#include <QFont>
#include <QWidget>

class QPainter;
#include <string>

#include "settings/ReaderSettings.h"

// The upper pane, where the groups of a reading run are flashed: the display
// text centred in the reading area's font and colours, or in one-word mode
// optionally placed by its recognition letter. It never keeps the keyboard
// focus; mouse clicks and the wheel in it change the reading speed.
class CReadArea : public QWidget {
    Q_OBJECT

public:
    CReadArea(QWidget* parent, const ReaderSettings& settings);

    // The group being shown (Windows-1251); empty when nothing is read.
    void SetDisplayText(std::string_view text);
    const QString& DisplayText() const { return displayText_; }
    // Takes the reading area's font and colours anew from the settings.
    void RecreateDrawingObjects();
    const QFont& DisplayFont() const { return font_; }

    // Where the display text is drawn in several-words mode for a pane of
    // this size: the middle three quarters of the width, the block centred.
    QRect SeveralWordsBox(const QSize& pane) const;

signals:
    void SpeedDownRequested(int steps);
    void SpeedUpRequested(int steps);
    // Keyboard focus arrived here; the frame hands it to the text pane.
    void FocusReceived();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void ChangeSpeed(Qt::MouseButton button, int steps);
    // One word with its recognition letter at the middle of the pane.
    void DrawAroundFocusLetter(QPainter& painter);

    const ReaderSettings& settings_;
    QString displayText_;
    QFont font_;
    int wheelTurn_ = 0;  // eighths of a degree not yet turned into a click step
};
