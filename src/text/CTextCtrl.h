#pragma once

#include <QElapsedTimer>
#include <QKeySequence>
#include <QList>
#include <QPlainTextEdit>
#include <string>
#include <vector>

#include "settings/ReaderSettings.h"
#include "text/PositionMap.h"
#include "text/RtfDocument.h"
#include "text/TextRules.h"

class LineSelectionMargin;
class QAction;

// The one text control: holds the document's text (Windows-1251, the core's
// positions) and shows it read-only in the widget. Every position that crosses
// between the two goes through the position map; nothing else converts.
class CTextCtrl : public QPlainTextEdit {
    Q_OBJECT

public:
    CTextCtrl(QWidget* parent, const AreaAppearance& textArea);
    ~CTextCtrl() override;

    const std::string& Text() const { return text_; }
    // Replaces the whole text; more than the control's limit is not taken in.
    void SetText(std::string text);
    int TextLength() const { return static_cast<int>(text_.size()); }
    bool TooShort() const { return text_.size() < kShortText; }

    // The selection in text positions, start <= end.
    TextRange Selection() const;
    void SetSelection(std::size_t start, std::size_t end);
    void SetCaret(std::size_t position) { SetSelection(position, position); }
    std::string SelectedText() const;

    // Shows parts of the text in their own formats (a rich text document's
    // bold, italic, size, colour and face), until ApplyFormatToAll.
    void ApplyRuns(const std::vector<RtfRun>& runs);

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
    // Commands on numeric-keypad keys. Under X11 a shortcut with the keypad
    // modifier never matches, so the control triggers these itself.
    void SetKeypadActions(QList<QAction*> actions) { keypadActions_ = std::move(actions); }

signals:
    // A right button press, or the keyboard's menu key, at a point in global
    // coordinates: the program's context menu belongs there.
    void RightButtonPressed(const QPoint& globalPosition);

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class LineSelectionMargin;
    void SelectLinesBetween(const QPoint& anchor, const QPoint& point);

    const AreaAppearance& textArea_;
    std::string text_;
    PositionMap map_;
    QList<QKeySequence> programKeys_;
    QList<QAction*> keypadActions_;
    // When and where the last double click was: a press soon after at the
    // same place is a triple click.
    QElapsedTimer lastDoubleClick_;
    QPoint lastDoubleClickAt_;
    LineSelectionMargin* margin_;
};
