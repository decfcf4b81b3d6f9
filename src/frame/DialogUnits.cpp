#include "frame/DialogUnits.h"

#include <algorithm>

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QRadioButton>
#include <QWidget>

namespace {

// The average over the 52 Latin letters, rounded, as the desktop that
// defined dialog units computes it.
int AverageCharacterWidth(const QFontMetrics& metrics) {
    const int width =
        metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return (width / 26 + 1) / 2;
}

// Labels, check boxes and radio buttons are drawn as one line of text; the
// other controls draw their frames to any height.
bool IsOneLineOfText(const QWidget* control) {
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        return !label->wordWrap() && !label->text().contains(u'\n');
    }
    return qobject_cast<const QCheckBox*>(control) != nullptr ||
           qobject_cast<const QRadioButton*>(control) != nullptr;
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    baseWidth_ = std::max(AverageCharacterWidth(metrics), 1);
    baseHeight_ = std::max(metrics.height(), 1);
}

int DialogUnits::X(int units) const { return (units * baseWidth_ + 2) / 4; }

int DialogUnits::Y(int units) const { return (units * baseHeight_ + 4) / 8; }

QRect DialogUnits::Rect(int left, int top, int width, int height) const {
    return QRect(X(left), Y(top), X(width), Y(height));
}

QSize DialogUnits::Size(int width, int height) const { return QSize(X(width), Y(height)); }

void DialogUnits::Place(QWidget* control, int left, int top, int width, int height) const {
    QRect rect = Rect(left, top, width, height);
    const int needed = control->sizeHint().height();
    if (IsOneLineOfText(control) && needed > rect.height()) {
        const int grow = needed - rect.height();
        rect.adjust(0, -grow / 2, 0, grow - grow / 2);
    }
    control->setGeometry(rect);
}
