#include "text/CTextCtrl.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGlyphRun>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>

#include "base/QtText.h"
#include "settings/AreaFormat.h"

// The strip left of the text where the pointer selects whole lines.
class LineSelectionMargin : public QWidget {
public:
    static constexpr int kWidth = 10;
    explicit LineSelectionMargin(CTextCtrl* text) : QWidget(text), text_(text) {
        setCursor(QCursor(Qt::ArrowCursor));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), text_->palette().color(QPalette::Base));
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        anchor_ = event->position().toPoint();
        text_->SelectLinesBetween(anchor_, anchor_);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (event->buttons() & Qt::LeftButton) {
            text_->SelectLinesBetween(anchor_, event->position().toPoint());
        }
    }

private:
    CTextCtrl* text_;
    QPoint anchor_;
};

namespace {

// Characters per paragraph of the widget's document: the document builds
// and lays out one block per paragraph, so a block per line makes a long book
// slow to load, while every highlight and repaint measures its paragraph line
// by line. At a thousand, 10 MB loads as quickly as at four thousand.
constexpr qsizetype kBlockCharacters = 1024;

// What the pane shows before it is given a document.
const DocumentText kNoDocument;

// No character below Hebrew's is written right to left; the test before the
// look-up keeps a check of a whole book quick.
bool IsRightToLeft(char32_t c) {
    if (c < 0x0590) return false;
    switch (QChar::direction(c)) {
        case QChar::DirR:
        case QChar::DirAL:
        case QChar::DirRLE:
        case QChar::DirRLO:
        case QChar::DirRLI: return true;
        default: return false;
    }
}

// Builds the widget's text piece by piece, so that the document receives it
// without a second whole copy in between: every line break (CR LF, lone CR,
// lone LF) becomes one character, a line separator, or a paragraph break
// once the current paragraph has grown long enough; and where the position
// map splits a long line, a paragraph break of the widget's own comes in.
// On the way it notes whether any character is written right to left.
class WidgetTextPieces {
public:
    static constexpr qsizetype kPiece = 256 * 1024;
    static constexpr char32_t kFirstPlain = 0x0E;  // after CR

    WidgetTextPieces(TextView text, const PositionMap& map)
        : text_(text), splits_(map.Splits()), nextSplit_(splits_.begin()) {
        if (text.Narrow() == nullptr) return;
        for (std::size_t byte = 0; byte < plainBytes_.size(); ++byte) {
            const char32_t c = text.Alphabet()[byte];
            if (IsPlain(c)) plainBytes_[byte] = static_cast<char16_t>(c);
        }
    }

    bool Done() const { return at_ >= text_.size(); }
    bool RightToLeftSeen() const { return rightToLeft_; }

    // The next piece, at most kPiece characters and a few more.
    const QString& Next() {
        piece_.resize(kPiece + 4);
        QChar* const begin = piece_.data();
        QChar* out = begin;
        QChar* const full = begin + kPiece;
        // Locals, not members, in the loop: the compiler keeps them in
        // registers.
        const TextView text = text_;
        const std::uint8_t* const bytes = text.Narrow();
        const char32_t* const wide = text.Wide();
        const std::size_t size = text_.size();
        std::size_t at = at_;
        qsizetype paragraphLength = paragraphLength_;
        std::size_t nextSplit = nextSplit_ != splits_.end() ? *nextSplit_ : size;
        while (at < size && out < full) {
            // Most characters are neither at a split nor a line break nor
            // beyond the Cyrillic letters.
            const std::size_t stretchEnd =
                std::min({size, nextSplit, at + static_cast<std::size_t>(full - out)});
            const std::size_t stretchStart = at;
            if (bytes != nullptr) {
                for (char16_t unit; at < stretchEnd && (unit = plainBytes_[bytes[at]]) != 0; ++at)
                    *out++ = QChar(unit);
            } else {
#if defined(__SSE2__)
                // Eight at a time while all eight are plain, narrowed to UTF-16
                // by one instruction (they are below 0x8000, so saturation
                // changes nothing).
                const __m128i beforePlain = _mm_set1_epi32(kFirstPlain - 1);
                const __m128i afterPlain = _mm_set1_epi32(0x0590);
                while (at + 8 <= stretchEnd) {
                    const auto* eight = reinterpret_cast<const __m128i*>(wide + at);
                    const __m128i low = _mm_loadu_si128(eight);
                    const __m128i high = _mm_loadu_si128(eight + 1);
                    const __m128i plain =
                        _mm_and_si128(_mm_and_si128(_mm_cmpgt_epi32(low, beforePlain),
                                                    _mm_cmplt_epi32(low, afterPlain)),
                                      _mm_and_si128(_mm_cmpgt_epi32(high, beforePlain),
                                                    _mm_cmplt_epi32(high, afterPlain)));
                    if (_mm_movemask_epi8(plain) != 0xFFFF) break;
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packs_epi32(low, high));
                    at += 8;
                    out += 8;
                }
#endif
                // One comparison sends controls (line breaks among them) and
                // characters from Hebrew's on to the slower way below.
                while (at < stretchEnd && IsPlain(wide[at]))
                    *out++ = QChar(static_cast<char16_t>(wide[at++]));
            }
            paragraphLength += static_cast<qsizetype>(at - stretchStart);
            if (at >= size || out >= full) break;
            if (at == nextSplit) {
                *out++ = QChar(u'\n');
                paragraphLength = 0;
                ++nextSplit_;
                nextSplit = nextSplit_ != splits_.end() ? *nextSplit_ : size;
            }
            const char32_t c = text[at++];
            if (c != '\r' && c != '\n') {
                rightToLeft_ = rightToLeft_ || IsRightToLeft(c);
                if (QChar::requiresSurrogates(c)) {
                    *out++ = QChar(QChar::highSurrogate(c));
                    *out++ = QChar(QChar::lowSurrogate(c));
                    paragraphLength += 2;
                } else {
                    *out++ = QChar(static_cast<char16_t>(c));
                    ++paragraphLength;
                }
                continue;
            }
            if (c == '\r' && at < size && text[at] == '\n') ++at;
            if (paragraphLength >= kBlockCharacters) {
                *out++ = QChar(u'\n');
                paragraphLength = 0;
            } else {
                *out++ = QChar(QChar::LineSeparator);
                ++paragraphLength;
            }
        }
        at_ = at;
        paragraphLength_ = paragraphLength;
        piece_.truncate(out - begin);
        return piece_;
    }

private:
    static bool IsPlain(char32_t c) { return c - kFirstPlain < 0x0590 - kFirstPlain; }

    TextView text_;
    // For a text held a byte a character: the UTF-16 of each byte that
    // stands for a plain character, else 0.
    std::array<char16_t, 256> plainBytes_{};
    const std::vector<std::size_t>& splits_;
    std::vector<std::size_t>::const_iterator nextSplit_;
    std::size_t at_ = 0;
    qsizetype paragraphLength_ = 0;
    bool rightToLeft_ = false;
    QString piece_;
};

}  // namespace

CTextCtrl::CTextCtrl(QWidget* parent, const AreaAppearance& textArea)
    : QPlainTextEdit(parent),
      textArea_(textArea),
      document_(&kNoDocument),
      margin_(new LineSelectionMargin(this)) {
    setObjectName("TextCtrl");
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setUndoRedoEnabled(false);
    setViewportMargins(LineSelectionMargin::kWidth, 0, 0, 0);
    caretWidth_ = cursorWidth();  // asked of the widget's properties each time
    // The pane paints its own background, and where a reading step puts the
    // text back, none.
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    ApplyDefaultFormat();
    // The widget's inner control, the document's owner, asks for every
    // repaint through one signal; taking it over lets SetSelection repaint
    // only what it changed.
    QObject* control = document()->parent();
    if (control != nullptr && disconnect(control, SIGNAL(updateRequest(QRectF)), this, nullptr)) {
        connect(control, SIGNAL(updateRequest(QRectF)), this, SLOT(RepaintContents(QRectF)));
    }
    // The pane takes no typing, so no input method follows its caret; the
    // widget would query it several times each time a reading step moves
    // the highlight.
    if (control != nullptr) disconnect(control, SIGNAL(microFocusChanged()), this, nullptr);
}

CTextCtrl::~CTextCtrl() = default;

void CTextCtrl::ShowDocument(const DocumentText& document) {
    document_ = &document;
    pendingHighlight_.reset();
    keptLayouts_.clear();
    ForgetShownBlocks();
    SetReading(reading_);
    ApplyDefaultFormat();
    WidgetTextPieces pieces(document.Characters(), document.Map());
    setPlainText(pieces.Next());
    // The rest in one edit, after the caret so that it stays at the start:
    // the widget takes in the whole text before it looks at it.
    QTextCursor end(this->document());
    end.movePosition(QTextCursor::End);
    end.beginEditBlock();
    while (!pieces.Done()) end.insertText(pieces.Next());
    end.endEditBlock();
    mixedDirections_ = pieces.RightToLeftSeen();
    ApplyRuns(document.Runs());
    SetCaret(0);
}

TextRange CTextCtrl::Selection() const {
    const WidgetRange shown = ShownSelection();
    const PositionMap& map = document_->Map();
    return {map.ToText(static_cast<std::size_t>(shown.from)),
            map.ToText(static_cast<std::size_t>(shown.to))};
}

CTextCtrl::WidgetRange CTextCtrl::ShownSelection() const {
    if (pendingHighlight_) return *pendingHighlight_;
    const QTextCursor cursor = textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd()};
}

CTextCtrl::WidgetRange CTextCtrl::ToWidget(std::size_t start, std::size_t end) const {
    end = std::min(end, document_->Length());
    start = std::min(start, end);
    const PositionMap& map = document_->Map();
    return {static_cast<int>(map.ToWidget(start)), static_cast<int>(map.ToWidget(end))};
}

void CTextCtrl::PlaceWidgetCursor(WidgetRange selection) {
    QTextCursor cursor = textCursor();
    cursor.setPosition(selection.from);
    cursor.setPosition(selection.to, QTextCursor::KeepAnchor);
    repaintingSelection_ = true;
    setTextCursor(cursor);
    repaintingSelection_ = false;
}

void CTextCtrl::SetSelection(std::size_t start, std::size_t end) { Select(ToWidget(start, end)); }

// The widget would repaint every line the old and the new selection touch,
// end to end. Repainted after the widget has scrolled to the new selection,
// the old one is where its pixels have moved to.
void CTextCtrl::Select(WidgetRange selection) {
    const std::optional<WidgetRange> pending = std::exchange(pendingHighlight_, std::nullopt);
    const QTextCursor previous = textCursor();
    PlaceWidgetCursor(selection);
    if (pending) {
        RepaintHighlight(*pending);
    } else {
        RepaintSelection(previous);
    }
    RepaintSelection(textCursor());
}

// Giving the widget's cursor a new place costs more than painting the
// highlight there: the widget works out the caret's place, the character
// format there and its own repaints, and tells everyone who listens. A
// reading step only repaints the word it leaves and the word it comes to.
void CTextCtrl::ShowReadingHighlight(std::size_t start, std::size_t end) {
    const WidgetRange next = ToWidget(start, end);
    const WidgetRange shown = ShownSelection();
    // Where the caret shows without a selection, or the text runs both
    // ways, only the widget knows what to repaint.
    if (mixedDirections_ || shown.from >= shown.to || next.from >= next.to) {
        Select(next);
        return;
    }
    const std::vector<ShownBlock>& blocks = ShownBlocks();
    HighlightArea area = AreaOf(next, blocks);
    if (area.rects.empty() || !area.whole) {
        Select(next);  // the widget scrolls to it
        return;
    }
    // The last step's area, unless the view or the layout changed since.
    const bool known = shownArea_ && shownArea_->first == shown;
    QRegion move;
    for (const QRect& rect : known ? shownArea_->second.rects : AreaOf(shown, blocks).rects) {
        move += rect;
    }
    for (const QRect& rect : area.rects) move += rect;
    move &= viewport()->rect();
    // The first step of a run paints the whole pane, so that its picture
    // without the highlight is made whole at once.
    if (std::exchange(fillPlain_, false)) {
        viewport()->update();
    } else {
        viewport()->update(move);
        stepRegion_ = move;
    }
    pendingHighlight_ = next;
    shownArea_.emplace(next, std::move(area));
}

void CTextCtrl::SetReading(bool reading) {
    reading_ = reading;
    fillPlain_ = reading;
    plain_ = QImage();
    plainDrawn_ = {};
}

void CTextCtrl::SettleHighlight() {
    if (!pendingHighlight_) return;
    // The widget scrolls to a cursor it is given; the user may have
    // scrolled the highlight out of view since it was painted.
    const int left = horizontalScrollBar()->value();
    const int top = verticalScrollBar()->value();
    PlaceWidgetCursor(*std::exchange(pendingHighlight_, std::nullopt));
    horizontalScrollBar()->setValue(left);
    verticalScrollBar()->setValue(top);
}

std::u32string CTextCtrl::SelectedText() const { return document_->Slice(Selection()); }

void CTextCtrl::ApplyRuns(const std::vector<TextRun>& runs) {
    const PositionMap& map = document_->Map();
    QTextCursor cursor(document());
    // One edit for all runs: the widget lays the text out once, not per run.
    cursor.beginEditBlock();
    for (const TextRun& run : runs) {
        const CharFormat& source = run.format;
        QTextCharFormat format;
        format.setFontWeight(source.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(source.italic);
        format.setFontUnderline(source.underline);
        format.setFontPointSize(source.halfPoints / 2.0);
        if (source.color) format.setForeground(ColorFromColorRef(*source.color));
        if (!source.face.empty()) format.setFontFamilies({QString::fromStdString(source.face)});
        cursor.setPosition(static_cast<int>(map.ToWidget(run.start)));
        cursor.setPosition(static_cast<int>(map.ToWidget(run.start + run.length)),
                           QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(format);
    }
    cursor.endEditBlock();
}

void CTextCtrl::ApplyDefaultFormat() {
    setFont(TextAreaFont(textArea_));
    QPalette colors = palette();
    colors.setColor(QPalette::Text, ColorFromColorRef(textArea_.textColor));
    colors.setColor(QPalette::Base, ColorFromColorRef(textArea_.backgroundColor));
    setPalette(colors);
}

void CTextCtrl::ApplyFormatToAll() {
    const TextRange kept = Selection();
    ApplyDefaultFormat();
    QTextCharFormat format;
    format.setFont(TextAreaFont(textArea_));
    format.setForeground(ColorFromColorRef(textArea_.textColor));
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    all.setCharFormat(format);
    SetSelection(kept.start, kept.end);
}

void CTextCtrl::SelectWordAtCaret() {
    const TextRange word = WordAtCaret(document_->Characters(), Selection().start);
    SetSelection(word.start, word.end);
}

void CTextCtrl::CopySelection() const {
    const std::u32string selected = SelectedText();
    if (selected.empty()) return;
    QApplication::clipboard()->setText(ToQString(ClipboardText(selected)));
}

void CTextCtrl::SelectLinesBetween(const QPoint& anchor, const QPoint& point) {
    SettleHighlight();
    const auto lineEdge = [this](const QPoint& at, QTextCursor::MoveOperation edge) {
        QTextCursor cursor = cursorForPosition(QPoint(0, at.y()));
        cursor.movePosition(edge);
        return cursor.position();
    };
    const bool down = point.y() >= anchor.y();
    const QPoint& first = down ? anchor : point;
    const QPoint& last = down ? point : anchor;
    QTextCursor cursor = textCursor();
    cursor.setPosition(lineEdge(first, QTextCursor::StartOfLine));
    cursor.setPosition(lineEdge(last, QTextCursor::EndOfLine), QTextCursor::KeepAnchor);
    // A whole line includes its break, as the selection bar does elsewhere.
    const QChar next = document()->characterAt(cursor.position());
    if (next == QChar::LineSeparator || next == QChar::ParagraphSeparator) {
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    }
    setTextCursor(cursor);
}

void CTextCtrl::mousePressEvent(QMouseEvent* event) {
    SettleHighlight();
    if (event->button() == Qt::RightButton) {
        emit RightButtonPressed(event->globalPosition().toPoint());
        event->accept();
        return;
    }
    const bool tripleClick = event->button() == Qt::LeftButton && lastDoubleClick_.isValid() &&
                             lastDoubleClick_.elapsed() < QApplication::doubleClickInterval() &&
                             (event->position().toPoint() - lastDoubleClickAt_).manhattanLength() <
                                 QApplication::startDragDistance();
    lastDoubleClick_.invalidate();
    if (tripleClick) {
        // The widget would select a whole block of its own, which may hold
        // many lines; the user means the line under the pointer.
        const int widgetPosition = cursorForPosition(event->position().toPoint()).position();
        const TextRange line =
            LineAt(document_->Characters(),
                   document_->Map().ToText(static_cast<std::size_t>(widgetPosition)));
        SetSelection(line.start, line.end);
        event->accept();
        return;
    }
    QPlainTextEdit::mousePressEvent(event);
}

void CTextCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    SettleHighlight();
    // A second right-click soon after the first is still a right-click.
    if (event->button() == Qt::RightButton) {
        mousePressEvent(event);
        return;
    }
    QPlainTextEdit::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton) return;
    lastDoubleClick_.start();
    lastDoubleClickAt_ = event->position().toPoint();
}

// The widget moves its own cursor on keys: it must hold the selection the
// pane shows.
void CTextCtrl::keyPressEvent(QKeyEvent* event) {
    SettleHighlight();
    QPlainTextEdit::keyPressEvent(event);
}

// The highlight's colours and the caret change with the focus; the widget
// repaints them where its own cursor is.
void CTextCtrl::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    if (pendingHighlight_) RepaintHighlight(*pendingHighlight_);
}

void CTextCtrl::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    if (pendingHighlight_) RepaintHighlight(*pendingHighlight_);
}

void CTextCtrl::RepaintHighlight(WidgetRange selection) {
    for (const QRect& rect : AreaOf(selection, ShownBlocks()).rects) viewport()->update(rect);
}

void CTextCtrl::contextMenuEvent(QContextMenuEvent* event) {
    // A right-click has opened the program's menu on the press already; the
    // context-menu event the window system sends after it must not open the
    // widget's stock menu as well. The keyboard's menu key opens the
    // program's menu.
    if (event->reason() == QContextMenuEvent::Keyboard) emit RightButtonPressed(event->globalPos());
    event->accept();
}

namespace {

// Whether a line of a paragraph holds characters written right to left; only
// looked at in a text that has any.
bool LineHasRightToLeft(const QString& paragraph, const QTextLine& line) {
    const QStringView characters = QStringView(paragraph).mid(line.textStart(), line.textLength());
    return std::any_of(characters.begin(), characters.end(),
                       [](QChar c) { return IsRightToLeft(c.unicode()); });
}

// The part of a selection that lies in a paragraph, in the paragraph's
// positions; empty when there is none.
std::pair<int, int> SelectedInBlock(int start, int end, const QTextBlock& block) {
    return {std::max(start - block.position(), 0),
            std::min(end - block.position(), block.length())};
}

// A rectangle that highlights a selection, and the selected characters of
// the line it lies on (none for the sliver after a paragraph).
struct SelectionSpan {
    QRectF rect;
    int line = 0;
    int from = 0;
    int to = 0;
};

// The rectangles that highlight a selection in one paragraph, line by line,
// as the widget itself highlights: a line selected from end to end up to its
// last character, a line where the selection starts or ends over the
// characters between, with the trailing blanks when the selection goes on
// past them, and a sliver after the paragraph when the selection goes on
// past its end.
std::vector<SelectionSpan> SelectionSpans(const QTextBlock& block, QPointF offset, int from, int to,
                                          bool mixedDirections) {
    std::vector<SelectionSpan> spans;
    const QTextLayout* layout = block.layout();
    const QString text = mixedDirections ? block.text() : QString();
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        const bool lastLine = i == layout->lineCount() - 1;
        const int lineEnd = line.textStart() + line.textLength();
        const int start = std::max(from, line.textStart());
        const int end = std::min(to, lineEnd);
        const bool goesOn = to >= lineEnd + (lastLine ? 1 : 0);
        if (start >= end && !(lastLine && goesOn)) continue;
        const QRectF natural = line.naturalTextRect().translated(offset);
        const auto addSpan = [&](QRectF rect) { spans.push_back({rect, i, start, end}); };
        const auto addAligned = [&](qreal left, qreal right) {
            addSpan(QRectF(QPointF(left, natural.top()), QPointF(right, natural.bottom()))
                        .toAlignedRect());
        };
        if (from < line.textStart() && goesOn) {
            addSpan(
                QRectF(natural.topLeft(), QPointF(natural.right(), std::ceil(natural.bottom()))));
        } else if (start < end && mixedDirections && LineHasRightToLeft(text, line)) {
            // Mixed directions: the selected characters may lie in several
            // places along the line, each run of glyphs in one.
            for (const QGlyphRun& run : line.glyphRuns(start, end - start)) {
                addAligned(run.boundingRect().left() + offset.x(),
                           run.boundingRect().right() + offset.x());
            }
        } else if (start < end) {
            const qreal right =
                to >= lineEnd ? line.x() + line.horizontalAdvance() : line.cursorToX(end);
            addAligned(line.cursorToX(start) + offset.x(), right + offset.x());
        }
        if (lastLine && goesOn) {
            spans.push_back(
                {QRectF(natural.right(), natural.top(), natural.height() / 4, natural.height()), i,
                 0, 0});
        }
    }
    return spans;
}

// The characters of a line whose glyphs may reach into the stretch of the
// line between two x, in the layout's positions: those the stretch covers
// and a line's height more on either side for overhanging glyphs. A line in
// both directions is taken whole.
std::pair<int, int> CharactersAcross(const QTextLine& line, bool mixedDirections, qreal left,
                                     qreal right) {
    const int lineStart = line.textStart();
    const int lineEnd = lineStart + line.textLength();
    if (mixedDirections) return {lineStart, lineEnd};
    const qreal slack = line.height();
    return {std::max(line.xToCursor(left - slack), lineStart),
            std::min(line.xToCursor(right + slack) + 1, lineEnd)};
}

// Draws characters of a line in their own colours, or the pen's where they
// have none.
void DrawCharacters(QPainter& painter, const QTextBlock& block, const QTextLine& line,
                    QPointF offset, int from, int to) {
    const QPen pen = painter.pen();
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int fragmentStart = fragment.position() - block.position();
        const int start = std::max(from, fragmentStart);
        const int end = std::min(to, fragmentStart + fragment.length());
        if (start >= end) continue;
        const QBrush color = fragment.charFormat().foreground();
        painter.setPen(color.style() == Qt::NoBrush ? pen : QPen(color, 0));
        for (const QGlyphRun& run : line.glyphRuns(start, end - start)) {
            painter.drawGlyphRun(offset, run);
        }
    }
    painter.setPen(pen);
}

// The highlight's background and its text's colour.
struct HighlightColors {
    QBrush background;
    QBrush text;
};

// A span's highlight and its characters, clipped to where it is lit.
void DrawLitSpan(QPainter& painter, const QTextBlock& block, QPointF offset,
                 const SelectionSpan& span, const HighlightColors& colors, const QRectF& lit) {
    painter.setClipRect(lit);
    painter.fillRect(lit, colors.background);
    if (span.from >= span.to) return;
    painter.setPen(QPen(colors.text, 0));
    const QTextLine line = block.layout()->lineAt(span.line);
    for (const QGlyphRun& run : line.glyphRuns(span.from, span.to - span.from)) {
        painter.drawGlyphRun(offset, run);
    }
}

// The highlight's background over the selected characters within the area,
// and those characters again in the highlight's text colour. Given the
// pane's text without the highlight, each span is drawn over a copy of it
// and then copied in: Qt sets a clip up for the whole height of the image
// it paints into at every glyph that crosses it, which on the window's image
// cost as much as the rest of a reading step's highlight. Leaves the painter
// clipped to the area, with its pen.
void PaintSelection(QPainter& painter, const QImage* plain, const QTextBlock& block, QPointF offset,
                    const std::vector<SelectionSpan>& spans, const HighlightColors& colors,
                    const QRect& area) {
    const QPen pen = painter.pen();
    bool painted = false;
    for (const SelectionSpan& span : spans) {
        const QRectF lit = span.rect & QRectF(area);
        if (lit.isEmpty()) continue;
        if (plain == nullptr) {
            painted = true;
            DrawLitSpan(painter, block, offset, span, colors, lit);
            continue;
        }
        const QRect pixels = lit.toAlignedRect();
        const qreal scale = plain->devicePixelRatio();
        QImage over = plain->copy(QRect(pixels.topLeft() * scale, pixels.size() * scale));
        over.setDevicePixelRatio(scale);
        QPainter onCopy(&over);
        onCopy.translate(-pixels.topLeft());
        DrawLitSpan(onCopy, block, offset, span, colors, lit);
        onCopy.end();
        painter.drawImage(pixels.topLeft(), over);
    }
    if (!painted) return;
    painter.setClipRect(area);
    painter.setPen(pen);
}

// Moves an image's pixels by a distance, as scrolling moves a window's; what
// comes into view keeps its old pixels.
void ScrollPixels(QImage& image, QPoint distance) {
    const int columns = image.width() - std::abs(distance.x());
    const int rows = image.height() - std::abs(distance.y());
    if (columns <= 0 || rows <= 0) return;
    const int pixelBytes = image.depth() / 8;
    const auto bytes = static_cast<std::size_t>(columns * pixelBytes);
    const int fromX = std::max(-distance.x(), 0) * pixelBytes;
    const int toX = std::max(distance.x(), 0) * pixelBytes;
    for (int i = 0; i < rows; ++i) {
        // Rows moving down are moved bottom first, so none is overwritten
        // before it is moved.
        const int from = distance.y() > 0 ? rows - 1 - i : i - distance.y();
        std::memmove(image.scanLine(from + distance.y()) + toX, image.constScanLine(from) + fromX,
                     bytes);
    }
}

// Whether a painter paints straight into an image at a whole-number scale:
// a copy of the pane's pixels lands on whole pixels of it there.
bool PaintsIntoImageAtWholeScale(QPainter& painter) {
    const QPaintEngine* engine = painter.paintEngine();
    if (engine == nullptr || engine->paintDevice() == nullptr ||
        engine->paintDevice()->devType() != QInternal::Image) {
        return false;
    }
    const QTransform toDevice = painter.deviceTransform();
    return toDevice.type() <= QTransform::TxScale && toDevice.m11() == std::round(toDevice.m11()) &&
           toDevice.m22() == std::round(toDevice.m22());
}

}  // namespace

// The widget's own painting draws every line it repaints whole, and every
// line a selection touches twice, each time clipped to a painter path (the
// selection, and all but the selection): for a reading step, which moves
// the highlight a word on, that was most of what the step cost. Here the
// text without the highlight comes from `plain_`, drawn there only where it
// is not yet, and then the selected characters are drawn over the highlight.
void CTextCtrl::paintEvent(QPaintEvent* event) {
    const std::vector<ShownBlock>& shown = ShownBlocks();
    // The pane shows no selections but its own. It takes no typing, so its
    // caret shows, without blinking, while it has the focus: at the end of
    // a reading step's selection when it shows one.
    const WidgetRange selection = ShownSelection();
    const bool focused = hasFocus();
    const int caretPosition = !focused || !isEnabled() ? -1
                              : pendingHighlight_      ? selection.to
                                                       : textCursor().position();
    const QPalette colors = palette();
    const QPalette::ColorGroup group = focused ? QPalette::Active : QPalette::Inactive;
    const HighlightColors highlight{colors.brush(group, QPalette::Highlight),
                                    colors.brush(group, QPalette::HighlightedText)};
    const QRegion& region = event->region();
    const bool step = std::exchange(stepRegion_, std::nullopt) == region;
    QPainter painter(viewport());
    const bool fromPlain = reading_ && PaintsIntoImageAtWholeScale(painter);
    if (fromPlain) {
        // Only a reading step, with no other repaint since, trusts what
        // `plain_` holds; any other paint may follow a change of the text,
        // its formats or its colours there.
        PaintPlainText(shown, region, step);
        const qreal scale = plain_.devicePixelRatio();
        for (const QRect& area : region) {
            painter.drawImage(QRectF(area), plain_,
                              QRectF(area.topLeft() * scale, area.size() * scale));
        }
    } else {
        PaintText(painter, shown, region);
    }
    for (const QRect& area : region) {
        painter.setClipRect(area);
        for (const ShownBlock& within : shown) {
            if (!within.Meets(area)) continue;
            const auto [from, to] = SelectedInBlock(selection.from, selection.to, within.block);
            if (from < to) {
                PaintSelection(
                    painter, fromPlain ? &plain_ : nullptr, within.block, within.offset,
                    SelectionSpans(within.block, within.offset, from, to, mixedDirections_),
                    highlight, area);
            }
            const int caret = caretPosition - within.block.position();
            if (caret >= 0 && caret < within.block.length()) {
                within.block.layout()->drawCursor(&painter, within.offset, caret, caretWidth_);
            }
        }
    }
}

// Draws the background and the text of a region into `plain_`, or only where
// it is not there yet. When the view has moved, the image moves with it as
// the window system moved the pane's pixels, and the strip that comes into
// view arrives as a paint of its own.
void CTextCtrl::PaintPlainText(const std::vector<ShownBlock>& shown, const QRegion& region,
                               bool onlyMissing) {
    const qreal scale = viewport()->devicePixelRatioF();
    const QSize pixels = viewport()->size() * scale;
    if (plain_.size() != pixels || plain_.devicePixelRatio() != scale) {
        plain_ = QImage(pixels, QImage::Format_RGB32);
        plain_.setDevicePixelRatio(scale);
        plainDrawn_ = {};
    } else if (const std::optional<QPoint> moved = PlainTextMoved(shown); moved != QPoint()) {
        plainDrawn_ = moved ? plainDrawn_.translated(*moved) & viewport()->rect() : QRegion();
        if (!plainDrawn_.isEmpty()) ScrollPixels(plain_, *moved * scale);
    }
    plainAnchor_.reset();
    if (!shown.empty())
        plainAnchor_.emplace(shown.front().block.blockNumber(), shown.front().offset);
    const QRegion missing = onlyMissing ? region.subtracted(plainDrawn_) : region;
    if (missing.isEmpty()) return;
    QPainter painter(&plain_);
    PaintText(painter, shown, missing);
    plainDrawn_ += missing;
}

// How far the text moved on screen since `plain_` was drawn, as the widget
// scrolled it: by whole pixels, or not known.
std::optional<QPoint> CTextCtrl::PlainTextMoved(const std::vector<ShownBlock>& shown) const {
    if (!plainAnchor_) return std::nullopt;
    const auto& [number, then] = *plainAnchor_;
    QPointF now;
    if (!shown.empty() && shown.front().block.blockNumber() == number) {
        now = shown.front().offset;
    } else {
        const QTextBlock block = document()->findBlockByNumber(number);
        if (!block.isValid()) return std::nullopt;
        now = blockBoundingGeometry(block).translated(contentOffset()).topLeft();
    }
    // The widget scrolls by whole pixels and carries fractions over to the
    // next scroll; where there are fractions, its moves are not known here.
    const auto whole = [](QPointF point) {
        return point.x() == std::round(point.x()) && point.y() == std::round(point.y());
    };
    if (!whole(now) || !whole(then)) return std::nullopt;
    return (now - then).toPoint();
}

void CTextCtrl::PaintText(QPainter& painter, const std::vector<ShownBlock>& shown,
                          const QRegion& region) const {
    // Text without a colour of its own is drawn in the pen's.
    painter.setPen(palette().text().color());
    const QBrush background = viewport()->palette().brush(viewport()->backgroundRole());
    for (const QRect& area : region) {
        painter.setClipRect(area);
        painter.fillRect(area, background);
        // A rectangle as wide as half the pane takes its lines whole, as the
        // widget does, which costs less than finding where it cuts them.
        const bool wholeLines = area.width() * 2 >= viewport()->width();
        for (const ShownBlock& within : shown) {
            if (!within.Meets(area)) continue;
            QTextLayout* layout = within.block.layout();
            if (wholeLines) {
                layout->draw(&painter, within.offset, {}, area);
                continue;
            }
            const QString text = mixedDirections_ ? within.block.text() : QString();
            for (int i = 0; i < layout->lineCount(); ++i) {
                const QTextLine line = layout->lineAt(i);
                const QRectF bounds = line.rect().translated(within.offset);
                if (bounds.bottom() <= area.top() || bounds.top() >= area.bottom() + 1) continue;
                const auto [from, to] = CharactersAcross(
                    line, mixedDirections_ && LineHasRightToLeft(text, line),
                    area.left() - within.offset.x(), area.right() + 1 - within.offset.x());
                DrawCharacters(painter, within.block, line, within.offset, from, to);
            }
        }
    }
}

CTextCtrl::View CTextCtrl::CurrentView() const {
    return {verticalScrollBar()->value(), horizontalScrollBar()->value(), viewport()->size(),
            document()->blockCount()};
}

void CTextCtrl::ForgetShownBlocks() {
    shownView_.reset();
    shownBlocks_.clear();
    shownArea_.reset();
}

// The widget drops a paragraph's shaped text after every paint and shapes it
// again, analysing the whole paragraph, at the next paint and at every caret
// placement in it: for a paragraph of 4 KB that was most of what a reading
// step cost. The paragraphs on screen keep theirs; one that leaves the screen
// drops it, so memory stays that of a screenful. Measuring the paragraphs
// costs a reading step as much as painting a word: they are measured again
// only when the view moves or the text or its layout changes.
const std::vector<CTextCtrl::ShownBlock>& CTextCtrl::ShownBlocks() {
    if (shownView_ && *shownView_ == CurrentView()) return shownBlocks_;
    ForgetShownBlocks();
    std::vector<int> numbers;
    const int bottom = viewport()->height();
    QPointF offset = contentOffset();
    for (QTextBlock block = firstVisibleBlock(); block.isValid() && offset.y() <= bottom;
         block = block.next()) {
        // A block keeps its shaped text before it is measured: measuring lays
        // out a block not laid out yet, and without the cache that shaping
        // would be thrown away and done again by the paint.
        block.layout()->setCacheEnabled(true);
        numbers.push_back(block.blockNumber());
        const qreal height = blockBoundingRect(block).height();
        if (block.isVisible()) shownBlocks_.push_back({block, offset, height});
        offset.ry() += height;
    }
    for (const int number : keptLayouts_) {
        if (std::find(numbers.begin(), numbers.end(), number) != numbers.end()) continue;
        const QTextBlock block = document()->findBlockByNumber(number);
        if (!block.isValid()) continue;
        block.layout()->setCacheEnabled(false);
        // Qt frees a layout's shaped text only at the end of a paint; one
        // that draws no line does it without shaping anything.
        static QImage nowhere(1, 1, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&nowhere);
        block.layout()->draw(&painter, QPointF(0, 1e6), {}, QRectF(0, 0, 1, 1));
    }
    keptLayouts_ = std::move(numbers);
    // Measuring may have laid paragraphs out and so moved the view.
    shownView_ = CurrentView();
    return shownBlocks_;
}

void CTextCtrl::RepaintSelection(const QTextCursor& selection) {
    viewport()->update(cursorRect(selection).adjusted(-kCaretMargin, 0, kCaretMargin, 0));
    if (selection.hasSelection())
        RepaintHighlight({selection.selectionStart(), selection.selectionEnd()});
}

// The rectangles of a selection in the paragraphs on screen.
CTextCtrl::HighlightArea CTextCtrl::AreaOf(WidgetRange selection,
                                           const std::vector<ShownBlock>& shown) {
    HighlightArea area;
    int covered = 0;
    const QRect pane = viewport()->rect();
    for (const ShownBlock& block : shown) {
        const auto [from, to] = SelectedInBlock(selection.from, selection.to, block.block);
        if (from >= to) continue;
        covered += to - from;
        for (const SelectionSpan& span :
             SelectionSpans(block.block, block.offset, from, to, mixedDirections_)) {
            const QRect rect =
                span.rect.toAlignedRect().adjusted(-kCaretMargin, 0, kCaretMargin, 0);
            area.whole = area.whole && rect.top() >= pane.top() && rect.bottom() <= pane.bottom();
            area.rects.push_back(rect);
        }
    }
    area.whole = area.whole && covered == selection.to - selection.from;
    return area;
}

void CTextCtrl::RepaintContents(const QRectF& contentsRect) {
    // The widget asks for a repaint wherever the text or its layout changed.
    ForgetShownBlocks();
    if (repaintingSelection_) return;
    if (!contentsRect.isValid()) {
        viewport()->update();
        emit updateRequest(viewport()->rect(), 0);
        return;
    }
    const QRect area =
        contentsRect.translated(contentOffset()).adjusted(-1, -1, 1, 1).toAlignedRect() &
        viewport()->rect();
    if (area.isEmpty()) return;
    viewport()->update(area);
    emit updateRequest(area, 0);
}

void CTextCtrl::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    margin_->setGeometry(area.left(), area.top(), LineSelectionMargin::kWidth, area.height());
}
