// The text control over its widget: long lines split for the widget keep
// every text position, and painting keeps shaped text only for what is on
// screen.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <random>
#include <string>

#include "base/QtText.h"
#include "settings/ReaderSettings.h"
#include "text/CTextCtrl.h"
#include "text/PositionMap.h"

namespace {

// Words of 2 to 10 letters between single spaces, with no line break at all.
std::u32string OneLine(std::size_t size) {
    std::mt19937 random(5);
    std::u32string text;
    while (text.size() < size) {
        const int length = 2 + static_cast<int>(random() % 9);
        for (int i = 0; i < length; ++i) text += static_cast<char32_t>('a' + random() % 26);
        text += ' ';
    }
    text.resize(size);
    text.back() = 'z';
    return text;
}

// What the widget shows selected, with the widget's own paragraph breaks
// taken out and its line separators turned back into CR LF.
std::u32string WidgetSelection(const CTextCtrl& control) {
    std::u32string shown;
    for (const char32_t c : control.textCursor().selectedText().toStdU32String()) {
        if (c == QChar::ParagraphSeparator) continue;
        if (c == QChar::LineSeparator) {
            shown += U"\r\n";
        } else {
            shown += c;
        }
    }
    return shown;
}

class TextCtrlTest : public ::testing::Test {
protected:
    // Shows a text as the controller shows a new document.
    void Show(std::u32string text) {
        document.Replace(std::move(text));
        control.ShowDocument(document);
    }
    const std::u32string& Text() const { return document.Characters(); }

    AreaAppearance appearance = DefaultTextArea();
    DocumentText document;
    CTextCtrl control{nullptr, appearance};
};

TEST_F(TextCtrlTest, ALongLineIsSplitForTheWidgetKeepingPositions) {
    const std::u32string text = OneLine(40'000);
    Show(text);
    const PositionMap map(text);
    ASSERT_GE(map.Splits().size(), 9u);
    ASSERT_EQ(control.document()->blockCount(), static_cast<int>(map.Splits().size()) + 1);
    for (QTextBlock block = control.document()->begin(); block.isValid(); block = block.next()) {
        ASSERT_LE(block.length(), static_cast<int>(PositionMap::kLineLimit) + 1);
    }
    const std::size_t split = map.Splits()[3];
    const std::size_t end = text.size();
    struct Case {
        const char* name;
        std::size_t start;
        std::size_t end;
    };
    const Case cases[] = {
        {"across a split", split - 5, split + 5},
        {"starting at a split", split, split + 7},
        {"ending at a split", split - 7, split},
        {"ending just before a split", split - 7, split - 1},
        {"starting just after a split", split + 1, split + 4},
        {"caret at a split", split, split},
        {"across several splits", map.Splits()[1] - 1, map.Splits()[5] + 1},
        {"the whole text", 0, end},
        {"the end of the text", end - 3, end},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        control.SetSelection(c.start, c.end);
        EXPECT_EQ(control.Selection().start, c.start);
        EXPECT_EQ(control.Selection().end, c.end);
        const std::u32string expected = text.substr(c.start, c.end - c.start);
        EXPECT_EQ(control.SelectedText(), expected);
        EXPECT_EQ(WidgetSelection(control), expected);
    }
}

TEST_F(TextCtrlTest, TrimmingALongLineLeavesNoBreakOfTheWidgetBehind) {
    // One word of exactly the limit, then blanks: the widget would break the
    // line before the first blank, but the blanks are trimmed first.
    const std::u32string word(PositionMap::kLineLimit, 'w');
    Show(word + std::u32string(200, U' '));
    EXPECT_EQ(Text().size(), word.size());
    EXPECT_EQ(control.document()->blockCount(), 1);
    EXPECT_EQ(control.document()->characterCount() - 1, static_cast<int>(word.size()));
    control.SetSelection(0, word.size());
    EXPECT_TRUE(control.SelectedText() == word);
}

TEST_F(TextCtrlTest, OnlyParagraphsOnScreenKeepTheirShapedText) {
    control.resize(500, 300);
    control.show();
    QApplication::processEvents();
    std::u32string text;
    for (int line = 0; text.size() < 400'000; ++line) {
        text += OneLine(70) + U"\r\n";
    }
    Show(text);
    const auto keptLayouts = [this] {
        int kept = 0;
        for (QTextBlock b = control.document()->begin(); b.isValid(); b = b.next()) {
            kept += b.layout()->cacheEnabled() ? 1 : 0;
        }
        return kept;
    };
    QScrollBar* bar = control.verticalScrollBar();
    int mostKept = 0;
    for (int value = 0; value <= bar->maximum(); value += bar->pageStep()) {
        bar->setValue(value);
        control.viewport()->repaint();
        mostKept = std::max(mostKept, keptLayouts());
    }
    // The screen shows at most three of these 4 KB paragraphs at a time.
    EXPECT_GE(mostKept, 1);
    EXPECT_LE(mostKept, 3);
    EXPECT_LE(keptLayouts(), 3);
    EXPECT_GT(control.document()->blockCount(), 50);
}

// Characters beyond the code page, and beyond the Basic Multilingual Plane,
// reach the widget and the clipboard whole, and every position still counts
// one character.
TEST_F(TextCtrlTest, EveryCharacterIsShownSelectedAndCopiedWhole) {
    const std::u32string pasted =
        U"Café naïve Gödel — «ёлка» №5 … Ελληνικά 日本語 😀 straße\r\nnext 𝄞 line";
    Show(pasted);
    const std::size_t emoji = Text().find(U'😀');
    const std::size_t clef = Text().find(U'𝄞');
    struct Case {
        const char* name;
        std::size_t start;
        std::size_t end;
    };
    const Case cases[] = {
        {"the emoji alone", emoji, emoji + 1},
        {"across the emoji", emoji - 4, emoji + 3},
        {"from the emoji to past the line break", emoji, clef + 1},
        {"caret after the clef", clef + 1, clef + 1},
        {"the whole text", 0, Text().size()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        control.SetSelection(c.start, c.end);
        EXPECT_EQ(control.Selection(), (TextRange{c.start, c.end}));
        const std::u32string expected = Text().substr(c.start, c.end - c.start);
        EXPECT_EQ(control.SelectedText(), expected);
        EXPECT_EQ(WidgetSelection(control), expected);
    }
    control.SetSelection(0, Text().size());
    control.CopySelection();
    // The clipboard carries LF line breaks.
    EXPECT_EQ(QApplication::clipboard()->text(), ToQString(ClipboardText(pasted)));
    control.SetSelection(emoji, emoji + 1);
    control.CopySelection();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("😀"));
}

// The control paints its text and selection itself, and must look as the
// stock widget's own painting does.
TEST_F(TextCtrlTest, SelectionLooksAsTheStockWidgetPaintsIt) {
    class StockWidget : public QPlainTextEdit {
    public:
        StockWidget() { setViewportMargins(10, 0, 0, 0); }
    };
    const std::u32string text =
        U"Первая строка текста, в ней слова.\r\n"
        U"Вторая строка\tс табуляцией и ещё словами, много слов, чтобы строка перенеслась "
        U"на следующую строку экрана.\r\n"
        U"שלום עולם mixed עברית text here.\r\nLast.";
    Show(text);
    QPalette colors = control.palette();
    colors.setColor(QPalette::Text, Qt::darkRed);
    control.setPalette(colors);
    StockWidget stock;
    QStringList paragraphs;
    for (QTextBlock b = control.document()->begin(); b.isValid(); b = b.next())
        paragraphs << b.text();
    stock.setPlainText(paragraphs.join(u'\n'));
    stock.setFont(control.font());
    stock.setPalette(control.palette());
    stock.setReadOnly(true);
    stock.setTextInteractionFlags(control.textInteractionFlags());
    stock.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (QWidget* widget : {static_cast<QWidget*>(&control), static_cast<QWidget*>(&stock)}) {
        widget->resize(400, 300);
        widget->show();
    }
    struct Case {
        const char* name;
        std::size_t start;
        std::size_t end;
    };
    const Case cases[] = {
        {"a word", 6, 12},
        {"a whole line", 0, 34},
        {"into the next paragraph", 20, 60},
        {"across a tab and a wrapped line", 40, 120},
        {"in mixed directions", text.find(U"עולם"), text.find(U"עברית") + 2},
        {"everything", 0, text.size()},
        {"from a line's start to the end of its paragraph", 35, 72},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        control.SetSelection(c.start, c.end);
        QTextCursor same(stock.document());
        same.setPosition(control.textCursor().anchor());
        same.setPosition(control.textCursor().position(), QTextCursor::KeepAnchor);
        stock.setTextCursor(same);
        QApplication::processEvents();
        const QImage ours = control.viewport()->grab().toImage();
        const QImage theirs = stock.viewport()->grab().toImage();
        int differing = 0;
        for (int y = 0; y < ours.height(); ++y) {
            for (int x = 0; x < ours.width(); ++x)
                differing += ours.pixel(x, y) != theirs.pixel(x, y);
        }
        // A few pixels of glyph edges may blend differently at the ends of
        // a span; a span a pixel too long or short differs in a whole
        // column, a line high.
        EXPECT_LT(differing, QFontMetrics(control.font()).height());
    }
}

// A selection set from outside repaints only the old and the new highlight;
// what is on screen after each step must still be what a full paint shows.
TEST_F(TextCtrlTest, MovingTheSelectionLeavesNothingStaleOnScreen) {
    std::u32string text;
    for (int i = 0; i < 60; ++i)
        text += U"Слово за словом, строка " + FromQString(QString::number(i)) + U".\r\n";
    Show(text);
    control.resize(400, 300);
    control.show();
    QWidget* viewport = control.viewport();
    QRegion painted;
    struct PaintRecorder : QObject {
        QRegion* painted;
        explicit PaintRecorder(QRegion* into) : painted(into) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint)
                *painted += static_cast<QPaintEvent*>(event)->region();
            return false;
        }
    } recorder(&painted);
    viewport->installEventFilter(&recorder);
    const auto lineStart = [&text](int line) {
        std::size_t at = 0;
        for (int i = 0; i < line; ++i) at = text.find(U"\r\n", at) + 2;
        return at;
    };
    struct Step {
        const char* name;
        std::size_t start;
        std::size_t end;
    };
    const Step steps[] = {
        {"the first word", 0, 5},
        {"the next word on the line", 6, 8},
        {"two words", 9, 24},
        {"onto the next line", lineStart(1), lineStart(1) + 5},
        {"across a line break", lineStart(1) + 20, lineStart(2) + 5},
        {"far down, scrolling", lineStart(50), lineStart(50) + 5},
        {"a caret", lineStart(50) + 3, lineStart(50) + 3},
        {"back to the top", 0, 5},
        {"everything", 0, text.size()},
        {"the first word again", 0, 5},
    };
    QApplication::processEvents();
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        painted = QRegion();
        control.SetSelection(step.start, step.end);
        QApplication::processEvents();
        if (std::string_view(step.name) == "the next word on the line") {
            EXPECT_LT(painted.boundingRect().width(), viewport->width() / 4);
        }
        const QPoint at = viewport->mapTo(control.window(), QPoint(0, 0));
        const QImage onScreen = control.screen()
                                    ->grabWindow(control.window()->winId(), at.x(), at.y(),
                                                 viewport->width(), viewport->height())
                                    .toImage()
                                    .convertToFormat(QImage::Format_RGB32);
        const QImage fullPaint = viewport->grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(onScreen, fullPaint);
    }
}

}  // namespace
