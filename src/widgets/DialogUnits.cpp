#include "widgets/DialogUnits.h"

#include <algorithm>

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QRadioButton>
#include <QWidget>

namespace {

// The average width of the letters, rounded, as the desktop that defined
// dialog units computes it over the 52 Latin ones; here over the Cyrillic
// ones too, which many Linux faces draw wider, since the dialogs speak Russian.
int AverageCharacterWidth(const QFontMetrics& metrics) {
    const int width = metrics.horizontalAdvance(
        QString::fromUtf8("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                          "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя"));
    constexpr int kLetters = 52 + 66;
    return (2 * width / kLetters + 1) / 2;
}

// The height a control's text needs at the given width: labels, check boxes
// and radio buttons; 0 for the controls that draw their frames to any height.
int NeededHeight(const QWidget* control, int width) {
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        return label->wordWrap() ? label->heightForWidth(width) : label->sizeHint().height();
    }
    if (qobject_cast<const QCheckBox*>(control) != nullptr ||
        qobject_cast<const QRadioButton*>(control) != nullptr) {
        return control->sizeHint().height();
    }
    return 0;
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
    const int needed = NeededHeight(control, rect.width());
    if (needed > rect.height()) {
        const int grow = needed - rect.height();
        rect.adjust(0, -grow / 2, 0, grow - grow / 2);
    }
    control->setGeometry(rect);
}
