#include "reading/CReadArea.h"

#include <QMouseEvent>
#include <QPainter>

#include "settings/AreaFormat.h"
#include "settings/SettingsBounds.h"
#include "base/QtText.h"

namespace {

constexpr int kWrapFlags = Qt::TextWordWrap | Qt::AlignHCenter;

}  // namespace

CReadArea::CReadArea(QWidget* parent, const ReaderSettings& settings)
    : QWidget(parent), settings_(settings) {
    setObjectName("ReadArea");
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumHeight(30);
    RecreateDrawingObjects();
}

void CReadArea::SetDisplayText(std::string_view text) {
    displayText_ = ToQString(text);
    update();
}

void CReadArea::RecreateDrawingObjects() {
    font_ = FontFromLogFont(settings_.readingArea.font);
    update();
}

QRect CReadArea::SeveralWordsBox(const QSize& pane) const {
    const int width = pane.width();
    const int height = pane.height();
    const int left = width / 8;
    const int right = width - width / 8;
    const QFontMetrics metrics(font_);
    const QRect measured =
        metrics.boundingRect(QRect(left, 0, right - left, height), kWrapFlags, displayText_);
    // Centre the measured block in the pane, halving towards minus infinity
    // so a block taller than the pane still starts above its top evenly.
    const int top = (height - measured.height()) >> 1;
    const int shift = (right - (left + measured.width())) >> 1;
    return QRect(left + shift, top, measured.width(), measured.height());
}

void CReadArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ColorFromColorRef(settings_.readingArea.backgroundColor));
    if (displayText_.isEmpty()) return;
    painter.setFont(font_);
    painter.setPen(ColorFromColorRef(settings_.readingArea.textColor));
    if (!IsSeveralWords(settings_.severalWords)) {
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, displayText_);
    } else {
        painter.drawText(SeveralWordsBox(size()), kWrapFlags, displayText_);
    }
}

void CReadArea::ChangeSpeed(Qt::MouseButton button, int steps) {
    if (button == Qt::LeftButton) emit SpeedDownRequested(steps);
    if (button == Qt::RightButton) emit SpeedUpRequested(steps);
}

// A double click arrives as a press and then a double click, so a whole one
// moves the level by three click steps.
void CReadArea::mousePressEvent(QMouseEvent* event) {
    ChangeSpeed(event->button(), BoundedClickStep(settings_.clickStep));
}

void CReadArea::mouseDoubleClickEvent(QMouseEvent* event) {
    ChangeSpeed(event->button(), 2 * BoundedClickStep(settings_.clickStep));
}

void CReadArea::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    emit FocusReceived();
}
