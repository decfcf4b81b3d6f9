#pragma once

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <functional>
#include <string>
#include <vector>

#include "settings/ReaderSettings.h"
#include "text/DocumentText.h"

class LineSelectionMargin;
class QPainter;
class QTextBlock;
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
    // Plain text takes the text area's font and colours.
    void ApplyDefaultFormat();
    // Shows parts of the text in their own formats (a rich text document's
    // bold, italic, size, colour and face), until ApplyFormatToAll.
    void ApplyRuns(const std::vector<TextRun>& runs);
    void SelectLinesBetween(const QPoint& anchor, const QPoint& point);
    void KeepVisibleLayouts();
    // Visits the paragraphs shown within an area of the viewport, each with
    // the place of its top left corner.
    void ForEachBlockWithin(const QRect& area,
                            const std::function<void(const QTextBlock&, QPointF)>& visit);
    void RepaintSelection(const QTextCursor& selection);
    void PaintSelection(QPainter& painter, const QTextBlock& block, QPointF offset,
                        const QAbstractTextDocumentLayout::Selection& selection, const QRect& area);

    const AreaAppearance& textArea_;
    const DocumentText* document_;
    // When and where the last double click was: a press soon after at the
    // same place is a triple click.
    QElapsedTimer lastDoubleClick_;
    QPoint lastDoubleClickAt_;
    LineSelectionMargin* margin_;
    std::vector<int> keptLayouts_;      // numbers of the blocks that keep their shaped text
    bool mixedDirections_ = false;      // some of the text is written right to left
    bool repaintingSelection_ = false;  // SetSelection repaints, not the widget
};
