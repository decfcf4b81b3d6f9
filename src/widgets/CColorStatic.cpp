#include "widgets/CColorStatic.h"

#include <QPainter>

#include "base/QtText.h"

CColorStatic::CColorStatic(QWidget* parent) : QLabel(parent) {}

void CColorStatic::SetBkColor(std::uint32_t color) {
    ApplyColors(Qt::black, ColorFromColorRef(color));
}

void CColorStatic::SetTextColor(std::uint32_t color) {
    ApplyColors(ColorFromColorRef(color), palette().color(QPalette::Button));
}

void CColorStatic::ApplyColors(const QColor& text, const QColor& background) {
    colored_ = true;
    text_ = text;
    background_ = background;
    QPalette colors = palette();
    colors.setColor(QPalette::WindowText, text_);
    colors.setColor(QPalette::Window, background_);
    setPalette(colors);
    update();
}

void CColorStatic::paintEvent(QPaintEvent* event) {
    if (colored_) QPainter(this).fillRect(rect(), background_);
    QLabel::paintEvent(event);
}
