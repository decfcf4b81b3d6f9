#include "widgets/CLimitedTextEdit.h"

#include <algorithm>

#include <QAbstractButton>
#include <QKeyEvent>
#include <QTextCursor>
#include <QTextDocument>

CLimitedTextEdit::CLimitedTextEdit(int limit, QWidget* parent)
    : QPlainTextEdit(parent), limit_(limit) {
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { lastInsertEnd_ = position + added; });
    connect(this, &QPlainTextEdit::textChanged, this, &CLimitedTextEdit::KeepWithinLimit);
}

QString CLimitedTextEdit::RawText() const {
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

void CLimitedTextEdit::KeepWithinLimit() {
    QTextDocument* text = document();
    const int excess = text->characterCount() - 1 - limit_;
    if (excess <= 0) return;
    const int end = std::clamp(lastInsertEnd_, excess, text->characterCount() - 1);
    QTextCursor cursor(text);
    cursor.setPosition(end - excess);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

void CLimitedTextEdit::SetEnterClicks(QAbstractButton* button, bool ctrlEnterBreaksLine) {
    enterClicks_ = button;
    ctrlEnterBreaksLine_ = ctrlEnterBreaksLine;
}

void CLimitedTextEdit::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || enterClicks_ == nullptr) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    if (ctrlEnterBreaksLine_ && (event->modifiers() & Qt::ControlModifier)) {
        insertPlainText(QStringLiteral("\n"));
    } else {
        enterClicks_->click();
    }
}
