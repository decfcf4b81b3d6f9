#include "widgets/CUpDownCtrl.h"

#include <algorithm>

#include <QLabel>
#include <QToolButton>
#include <QWheelEvent>

CUpDownCtrl::CUpDownCtrl(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    const auto makeArrow = [this](Qt::ArrowType type, int step) {
        auto* arrow = new QToolButton(this);
        arrow->setArrowType(type);
        arrow->setAutoRepeat(true);
        arrow->setFocusPolicy(Qt::NoFocus);
        connect(arrow, &QToolButton::clicked, this, [this, step] { SetPos(position_ + step); });
        return arrow;
    };
    up_ = makeArrow(Qt::UpArrow, +1);
    down_ = makeArrow(Qt::DownArrow, -1);
}

void CUpDownCtrl::SetBuddy(QLabel* buddy) {
    buddy_ = buddy;
    ShowPosition();
}

void CUpDownCtrl::SetRange(int lower, int upper) {
    lower_ = std::min(lower, upper);
    upper_ = std::max(lower, upper);
    SetPos(position_);
}

void CUpDownCtrl::SetPos(int position) {
    const int clamped = std::clamp(position, lower_, upper_);
    const bool changed = clamped != position_;
    position_ = clamped;
    ShowPosition();
    if (changed) emit PositionChanged(position_);
}

void CUpDownCtrl::ShowPosition() {
    if (buddy_ != nullptr) buddy_->setNum(position_);
}

void CUpDownCtrl::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        QWidget::wheelEvent(event);
        return;
    }
    SetPos(position_ + (delta > 0 ? 1 : -1));
    event->accept();
}

void CUpDownCtrl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int upperHalf = height() / 2;
    up_->setGeometry(0, 0, width(), upperHalf);
    down_->setGeometry(0, upperHalf, width(), height() - upperHalf);
}
