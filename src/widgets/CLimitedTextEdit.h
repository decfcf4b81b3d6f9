#pragma once

#include <QPlainTextEdit>

class QAbstractButton;

// A small text field that holds at most a given number of characters: what
// is typed or pasted beyond the limit is dropped from the end of what just
// arrived, where the caret stands, as a limited edit box does.
class CLimitedTextEdit : public QPlainTextEdit {
    Q_OBJECT

public:
    CLimitedTextEdit(int limit, QWidget* parent = nullptr);

    // The text with its line breaks as LF. The raw text keeps no-break
    // spaces, which the widget's plain text would turn into spaces.
    QString RawText() const;

    // Enter clicks the button, as it would press a dialog's default button
    // from a one-line field. With `ctrlEnterBreaksLine`, Ctrl+Enter starts a
    // new line; otherwise the field takes no line break from the keyboard.
    void SetEnterClicks(QAbstractButton* button, bool ctrlEnterBreaksLine);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void KeepWithinLimit();

    int limit_;
    int lastInsertEnd_ = 0;
    QAbstractButton* enterClicks_ = nullptr;
    bool ctrlEnterBreaksLine_ = false;
};
