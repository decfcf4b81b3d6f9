#include "reading/CReadArea.h"

#include <cmath>

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include "base/QtText.h"
#include "reading/FocusLetter.h"
#include "settings/AreaFormat.h"
#include "settings/SettingsBounds.h"

CReadArea::CReadArea(QWidget* parent, const ReaderSettings& settings)
    : QWidget(parent), settings_(settings) {
    setObjectName("ReadArea");
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumHeight(30);
    RecreateDrawingObjects();
}

void CReadArea::SetDisplayText(std::u32string_view text) {
    displayText_ = ToQString(text);
    // Only where the old group was and where the new one goes changes: the
    // rest of the pane is background. Repainting (and sending to the screen)
    // the whole pane cost more than the group itself.
    const QRect old = shownRect_;
    LayOut();
    update(old.united(shownRect_));
}

void CReadArea::RecreateDrawingObjects() {
    font_ = FontFromLogFont(settings_.readingArea.font);
    leading_ = QFontMetricsF(font_).leading();
    words_.clear();
    LayOut();
    update();
}

// The whole pane is painted anew at its new size, the text in its new place.
void CReadArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOut();
}

// One word: a single line centred both ways, clipped at both sides when it
// is wider than the pane. Several words: wrapped within the middle three
// quarters of the width, each line centred, the block centred both ways,
// halving towards minus infinity so a block taller than the pane still
// starts above its top evenly.
void CReadArea::LayOut() {
    layoutMode_ = settings_.severalWords;
    layoutFocus_ = FocusLetterShown();
    focusRect_ = {};
    shownRect_ = {};
    placed_ = {};
    placedFocus_ = {};
    if (displayText_.isEmpty()) return;
    const int width = this->width();
    const int height = this->height();
    const bool several = IsSeveralWords(layoutMode_);
    const int left = several ? width / 8 : 0;
    const int right = several ? width - width / 8 : width;
    const QColor textColor = ColorFromColorRef(settings_.readingArea.textColor);
    int letter = -1;
    if (layoutFocus_) {
        const std::u16string_view word(reinterpret_cast<const char16_t*>(displayText_.utf16()),
                                       static_cast<std::size_t>(displayText_.size()));
        letter = static_cast<int>(FocusLetterIndex(word));
    }
    Composition fresh;
    const Composition& composed =
        several || layoutFocus_ ? (fresh = Compose(displayText_, right - left, textColor, letter))
                                : ComposedWord(textColor);
    const QSize block = composed.box;
    const int top = several ? (height - block.height()) >> 1 : (height - block.height()) / 2;
    int boxLeft =
        several ? left + ((right - (left + block.width())) >> 1) : (width - block.width()) / 2;
    if (layoutFocus_) {
        boxLeft =
            FocusedWordLeft(width, block.width(), (composed.letterLeft + composed.letterRight) / 2);
        focusRect_ = QRect(
            boxLeft + static_cast<int>(std::floor(composed.letterLeft)), top,
            static_cast<int>(std::ceil(composed.letterRight - std::floor(composed.letterLeft))),
            block.height());
    }
    placed_ = composed.placed.Translated(QPoint(boxLeft, top));
    shownRect_ = placed_.ink.intersected(rect());
    if (!focusRect_.isEmpty()) {
        // The layout holds this group: with the letter it is composed anew.
        placedFocus_ = glyphs_.Place(layout_, ColorFromColorRef(settings_.extras.focusLetterColor))
                           .Translated(QPoint(boxLeft, top));
        std::erase_if(placedFocus_.letters, [this](const GlyphImageCache::PlacedText::Letter& l) {
            return !focusRect_.intersects(QRect(l.topLeft, l.image.size()));
        });
    }
}

// Lays the display text out in a block whose top left is (0, 0). Lines
// follow each other as Qt's own text drawing sets them: the font's leading
// between them, each on a whole pixel.
CReadArea::Composition CReadArea::Compose(const QString& text, int lineWidth, const QColor& color,
                                          int letter) {
    const bool several = IsSeveralWords(layoutMode_);
    layout_.clearLayout();
    layout_.setText(text);
    layout_.setFont(font_);
    QTextOption option;
    option.setWrapMode(several ? QTextOption::WordWrap : QTextOption::NoWrap);
    layout_.setTextOption(option);
    qreal bottom = -leading_;
    qreal widest = 0;
    layout_.beginLayout();
    for (QTextLine line = layout_.createLine(); line.isValid(); line = layout_.createLine()) {
        line.setLineWidth(lineWidth);
        bottom = std::ceil(bottom + leading_);
        line.setPosition(QPointF(0, bottom));
        bottom += line.height();
        widest = std::max(widest, line.naturalTextWidth());
        if (!several) break;
    }
    layout_.endLayout();
    Composition composed;
    composed.box = QSize(static_cast<int>(std::ceil(widest)), static_cast<int>(std::ceil(bottom)));
    for (int i = 0; i < layout_.lineCount(); ++i) {
        QTextLine line = layout_.lineAt(i);
        line.setPosition(QPointF((composed.box.width() - line.naturalTextWidth()) / 2, line.y()));
    }
    if (letter >= 0 && layout_.lineCount() > 0) {
        composed.letterLeft = layout_.lineAt(0).cursorToX(letter);
        composed.letterRight = layout_.lineAt(0).cursorToX(letter + 1);
    }
    layout_.setPosition(QPointF(0, 0));
    composed.placed = glyphs_.Place(layout_, color);
    return composed;
}

// Shaping and placing a word's letters cost most of a step's work in this
// pane, and a book's few thousand most common words make up most of its
// running text: each one-word group is composed once. The composition does
// not depend on the pane's size.
const CReadArea::Composition& CReadArea::ComposedWord(const QColor& color) {
    KeepWordsFor(color);
    auto found = words_.constFind(displayText_);
    wantsUpcoming_ = found == words_.constEnd();
    if (wantsUpcoming_)
        found = words_.insert(displayText_, Compose(displayText_, width(), color, -1));
    return *found;
}

void CReadArea::KeepWordsFor(const QColor& color) {
    if (color != wordsColor_ || words_.size() >= kMostWords) {
        words_.clear();
        wordsColor_ = color;
    }
}

// Only one-word groups without the recognition letter are kept composed.
void CReadArea::PrepareUpcoming(const std::vector<std::u32string>& texts) {
    wantsUpcoming_ = false;
    if (IsSeveralWords(layoutMode_) || layoutFocus_ || layoutMode_ != settings_.severalWords ||
        layoutFocus_ != FocusLetterShown()) {
        return;
    }
    const QColor color = ColorFromColorRef(settings_.readingArea.textColor);
    KeepWordsFor(color);
    for (const std::u32string& text : texts) {
        if (words_.size() >= kMostWords) break;
        const QString word = ToQString(text);
        if (!words_.contains(word)) words_.insert(word, Compose(word, width(), color, -1));
    }
}

void CReadArea::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), ColorFromColorRef(settings_.readingArea.backgroundColor));
    if (displayText_.isEmpty()) return;
    if (LayoutOutdated()) LayOut();
    if (focusRect_.isEmpty()) {
        GlyphImageCache::Draw(painter, placed_);
        return;
    }
    // The recognition letter in its own colour, the rest of the word around it.
    painter.setClipRegion(QRegion(rect()).subtracted(focusRect_));
    GlyphImageCache::Draw(painter, placed_);
    painter.setClipRect(focusRect_);
    GlyphImageCache::Draw(painter, placedFocus_);
}

// The settings may have changed the mode or the colours since the group was
// laid out.
bool CReadArea::LayoutOutdated() const {
    return layoutMode_ != settings_.severalWords || layoutFocus_ != FocusLetterShown() ||
           placed_.color != ColorFromColorRef(settings_.readingArea.textColor) ||
           (layoutFocus_ &&
            placedFocus_.color != ColorFromColorRef(settings_.extras.focusLetterColor));
}

bool CReadArea::FocusLetterShown() const {
    return !IsSeveralWords(settings_.severalWords) && settings_.extras.focusLetter;
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

// Each notch of the wheel is a click step: away from the user faster, towards
// the user slower. Finer wheels and touch pads add up to whole notches.
void CReadArea::wheelEvent(QWheelEvent* event) {
    constexpr int kNotch = 120;
    wheelTurn_ += event->angleDelta().y();
    const int step = BoundedClickStep(settings_.clickStep);
    for (; wheelTurn_ >= kNotch; wheelTurn_ -= kNotch) emit SpeedUpRequested(step);
    for (; wheelTurn_ <= -kNotch; wheelTurn_ += kNotch) emit SpeedDownRequested(step);
    event->accept();
}

void CReadArea::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    emit FocusReceived();
}
