#pragma once

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QKeySequence>
#include <QList>
#include <QPlainTextEdit>
#include <functional>
#include <string>
#include <vector>

#include "settings/ReaderSettings.h"
#include "text/PositionMap.h"
#include "text/TextRun.h"
#include "text/TextRules.h"

class LineSelectionMargin;
class QAction;
class QPainter;
class QTextBlock;
class QTextCursor;

// The one text control: holds the document's text (Unicode, the core's
// positions) and shows it read-only in the widget. Every position that crosses
// between the two goes through the position map; nothing else converts.
class CTextCtrl : public QPlainTextEdit {
    Q_OBJECT

public:
    CTextCtrl(QWidget* parent, const AreaAppearance& textArea);
    ~CTextCtrl() override;

    const std::u32string& Text() const { return text_; }
    // Replaces the whole text; more than the control's limit is not taken in.
    void SetText(std::u32string text);
    int TextLength() const { return static_cast<int>(text_.size()); }
    bool TooShort() const { return text_.size() < kShortText; }

    // The selection in text positions, start <= end.
    TextRange Selection() const;
    void SetSelection(std::size_t start, std::size_t end);
    void SetCaret(std::size_t position) { SetSelection(position, position); }
    std::u32string SelectedText() const;

    // Shows parts of the text in their own formats (a rich text document's
    // bold, italic, size, colour and face), until ApplyFormatToAll.
    void ApplyRuns(const std::vector<TextRun>& runs);

    // Plain text takes the text area's font and colours.
    void ApplyDefaultFormat();
    // Reformats the whole text after the text area's settings changed,
    // keeping the selection.
    void ApplyFormatToAll();

    // Loads the clipboard's text as the whole text, trimmed.
    void ReplaceWithClipboard();
    void TrimTrailingBlanks();
    void SelectWordAtCaret();
    // Puts the selection on the clipboard as Unicode text.
    void CopySelection() const;

    // Keys of the program's commands: the widget must let them through to
    // the window's shortcuts instead of handling them itself.
    void SetProgramKeys(QList<QKeySequence> keys) { programKeys_ = std::move(keys); }
    // Commands the control triggers itself when their key press reaches it
    // instead of the window's shortcut: under X11 a shortcut with the keypad
    // modifier never matches, and whether Shift is part of "+" depends on the
    // layout. The press is compared without Shift and the keypad modifier.
    void SetKeyActions(QList<QAction*> actions) { keyActions_ = std::move(actions); }
    // Commands whose keys belong to the program only while the command is
    // enabled: while reading runs the arrows move the reading, otherwise the
    // caret, as usual.
    void SetWhileEnabledActions(QList<QAction*> actions) {
        whileEnabledActions_ = std::move(actions);
    }

signals:
    // A right button press, or the keyboard's menu key, at a point in global
    // coordinates: the program's context menu belongs there.
    void RightButtonPressed(const QPoint& globalPosition);

protected:
    bool event(QEvent* event) override;
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
    std::u32string text_;
    PositionMap map_;
    QList<QKeySequence> programKeys_;
    QList<QAction*> keyActions_;
    QList<QAction*> whileEnabledActions_;
    // When and where the last double click was: a press soon after at the
    // same place is a triple click.
    QElapsedTimer lastDoubleClick_;
    QPoint lastDoubleClickAt_;
    LineSelectionMargin* margin_;
    std::vector<int> keptLayouts_;  // numbers of the blocks that keep their shaped text
    bool mixedDirections_ = false;      // some of the text is written right to left
    bool repaintingSelection_ = false;  // SetSelection repaints, not the widget
};
