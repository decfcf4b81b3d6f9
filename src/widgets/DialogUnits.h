#pragma once

#include <QFont>
#include <QRect>

class QWidget;

// Places a dialog's controls where its template puts them. A template
// measures in dialog units: a quarter of the dialog font's average character
// width across, an eighth of its height down, so a dialog keeps its
// proportions and its texts keep their room whatever font the desktop gives.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int X(int units) const;
    int Y(int units) const;
    QRect Rect(int left, int top, int width, int height) const;
    QSize Size(int width, int height) const;

    // Moves the control to the template's rectangle. A label, check box or
    // radio button whose text needs more height than the template gives it
    // grows about its middle, so its text is not cut at the top or bottom.
    void Place(QWidget* control, int left, int top, int width, int height) const;

    int BaseWidth() const { return baseWidth_; }
    int BaseHeight() const { return baseHeight_; }

private:
    int baseWidth_;
    int baseHeight_;
};
