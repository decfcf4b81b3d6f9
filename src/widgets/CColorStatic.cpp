#include "widgets/CColorStatic.h"

#include <QPainter>

#include "base/QtText.h"

CColorStatic::CColorStatic(QWidget* parent) : QLabel(parent) {}

void CColorStatic::SetBkColour(std::uint32_t colour) {
    ApplyColours(Qt::black, ColorFromColorRef(colour));
}

void CColorStatic::SetTextColour(std::uint32_t colour) {
    ApplyColours(ColorFromColorRef(colour), palette().color(QPalette::Button));
}

void CColorStatic::ApplyColours(const QColor& text, const QColor& background) {
    coloured_ = true;
    text_ = text;
    background_ = background;
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, text_);
    colours.setColor(QPalette::Window, background_);
    setPalette(colours);
    update();
}

void CColorStatic::paintEvent(QPaintEvent* event) {
    if (coloured_) QPainter(this).fillRect(rect(), background_);
    QLabel::paintEvent(event);
}
