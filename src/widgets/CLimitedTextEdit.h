#pragma once

#include <QPlainTextEdit>

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

private:
    void KeepWithinLimit();

    int limit_;
    int lastInsertEnd_ = 0;
};
