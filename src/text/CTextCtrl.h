#pragma once

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QImage>
#include <QPlainTextEdit>
#include <QRegion>
#include <QTextBlock>
#include <optional>
#include <string>
#include <vector>

#include "settings/ReaderSettings.h"
#include "text/DocumentText.h"

class LineSelectionMargin;
class QPainter;
class QTextCursor;

// The text pane: shows the open document read-only and lets the user select
// in it. The document is the controller's; the pane keeps a view of it and
// converts every position that crosses between the two through the
// document's position map; nothing else converts.
class CTextCtrl : public QPlainTextEdit {
    Q_OBJECT

public:
    CTextCtrl(QWidget* parent, const AreaAppearance& textArea);
    ~CTextCtrl() override;

    // Shows a document anew, in its own formats where it has them and in the
    // text area's elsewhere, with the caret at its start. The document must
    // outlive the pane or the next call.
    void ShowDocument(const DocumentText& document);
    const DocumentText& Document() const { return *document_; }

    // The selection in text positions, start <= end.
    TextRange Selection() const;
    void SetSelection(std::size_t start, std::size_t end);
    // Moves the selection on as a reading step does, many times a second.
    // While the new selection is wholly on screen the pane only paints it
    // there, and the widget's own cursor takes it up before the pane next
    // takes input; elsewhere it is SetSelection.
    void ShowReadingHighlight(std::size_t start, std::size_t end);
    // While a run of reading steps goes on, the pane keeps its text without
    // the highlight in an image of its own (see `plain_`); other paints then
    // go through it as well. Afterwards the memory is given back.
    void SetReading(bool reading);
    void SetCaret(std::size_t position) { SetSelection(position, position); }
    std::u32string SelectedText() const;

    // Reformats the whole text after the text area's settings changed,
    // keeping the selection.
    void ApplyFormatToAll();

    void SelectWordAtCaret();
    // Puts the selection on the clipboard as Unicode text.
    void CopySelection() const;

signals:
    // A right button press, or the keyboard's menu key, at a point in global
    // coordinates: the program's context menu belongs there.
    void RightButtonPressed(const QPoint& globalPosition);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private slots:
    // The widget's own repaint requests, in document coordinates.
    void RepaintContents(const QRectF& contentsRect);

private:
    // Room either side of the caret for the marks of writing direction the
    // widget draws beside it.
    static constexpr int kCaretMargin = 6;
    friend class LineSelectionMargin;
    // A selection in the widget's positions, from <= to.
    struct WidgetRange {
        int from = 0;
        int to = 0;
        bool operator==(const WidgetRange&) const = default;
    };
    // The rectangles that show a selection, each widened by the room a caret
    // at its ends needs; `whole` when every character of it is on screen.
    struct HighlightArea {
        std::vector<QRect> rects;
        bool whole = true;
    };
    // Plain text takes the text area's font and colours.
    void ApplyDefaultFormat();
    // Shows parts of the text in their own formats (a rich text document's
    // bold, italic, size, colour and face), until ApplyFormatToAll.
    void ApplyRuns(const std::vector<TextRun>& runs);
    void SelectLinesBetween(const QPoint& anchor, const QPoint& point);
    // A paragraph on screen, with the place of its top left corner.
    struct ShownBlock {
        QTextBlock block;
        QPointF offset;
        qreal height = 0;
        bool Meets(const QRect& area) const {
            return offset.y() <= area.bottom() && offset.y() + height >= area.top();
        }
    };
    // What decides which paragraphs are on screen and where, besides the
    // text and its layout: the scroll bars (the vertical one counts lines)
    // and the pane's size.
    struct View {
        int top = 0;
        int left = 0;
        QSize size;
        int blocks = 0;
        bool operator==(const View&) const = default;
    };
    // The paragraphs on screen, top to bottom; they keep their shaped text.
    const std::vector<ShownBlock>& ShownBlocks();
    View CurrentView() const;
    // The text or its layout changed: what is on screen is worked out anew.
    void ForgetShownBlocks();
    WidgetRange ToWidget(std::size_t start, std::size_t end) const;
    // Gives the widget's cursor a selection, without the widget's repaints.
    void PlaceWidgetCursor(WidgetRange selection);
    // The widget's cursor takes the selection, and the pane repaints it.
    void Select(WidgetRange selection);
    // The selection as painted: a reading step's that the widget's cursor
    // has not taken up yet, else the cursor's.
    WidgetRange ShownSelection() const;
    // Gives a reading step's selection to the widget's cursor, leaving the
    // view where it is.
    void SettleHighlight();
    // Repaints a selection with room for a caret at its ends.
    void RepaintHighlight(WidgetRange selection);
    HighlightArea AreaOf(WidgetRange selection, const std::vector<ShownBlock>& shown);
    // Repaints the widget's own selection and its caret.
    void RepaintSelection(const QTextCursor& selection);
    // The background of a region and the characters that reach into it, in
    // their own colours; no selection, no caret.
    void PaintText(QPainter& painter, const std::vector<ShownBlock>& shown,
                   const QRegion& region) const;
    void PaintPlainText(const std::vector<ShownBlock>& shown, const QRegion& region,
                        bool onlyMissing);
    std::optional<QPoint> PlainTextMoved(const std::vector<ShownBlock>& shown) const;

    const AreaAppearance& textArea_;
    const DocumentText* document_;
    // When and where the last double click was: a press soon after at the
    // same place is a triple click.
    QElapsedTimer lastDoubleClick_;
    QPoint lastDoubleClickAt_;
    LineSelectionMargin* margin_;
    std::vector<int> keptLayouts_;  // numbers of the blocks that keep their shaped text
    // The paragraphs on screen for the view they were worked out for, and
    // the area of the last reading step's highlight in them.
    std::optional<View> shownView_;
    std::vector<ShownBlock> shownBlocks_;
    std::optional<std::pair<WidgetRange, HighlightArea>> shownArea_;
    // What a reading step repaints: where the highlight leaves and where it
    // comes to.
    std::optional<QRegion> stepRegion_;
    // The text as the pane draws it without a selection or a caret, where
    // `plainDrawn_` says, with the text where `plainAnchor_` says it was;
    // made at the first step of a run of reading. A reading step copies it
    // where the highlight leaves and where it comes to, instead of drawing
    // the background and the characters there again; the window's own image
    // cannot serve, as the window system may scroll its pixels on its own
    // side.
    QImage plain_;
    QRegion plainDrawn_;
    std::optional<std::pair<int, QPointF>> plainAnchor_;  // a paragraph's number and place then
    bool reading_ = false;                                // see SetReading
    bool fillPlain_ = false;                       // the next reading step paints the whole pane
    bool mixedDirections_ = false;                 // some of the text is written right to left
    bool repaintingSelection_ = false;             // SetSelection repaints, not the widget
    std::optional<WidgetRange> pendingHighlight_;  // see ShownSelection
    int caretWidth_ = 1;
};
