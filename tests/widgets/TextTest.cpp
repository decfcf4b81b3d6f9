#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <random>

#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "TestText.h"
#include "text/CFindDlg.h"
#include "text/FindCommands.h"
#include "text/PositionMap.h"
#include "text/TextFinder.h"
#include "text/TextRules.h"

namespace {

using enum CommandId;
using TextTest = ProgramFixture;

TEST_F(TextTest, AnOpenedTextSetsTheTitleTheTaskAndTheFormats) {
    Start();
    for (const auto& [file, task] : {std::pair{QString("report.Txt"), ReadingTask::TaskWholeText},
                                     std::pair{QString("empty.txt"), ReadingTask::TaskNone}}) {
        ASSERT_TRUE(
            Open(WriteFile(file, task == ReadingTask::TaskNone ? "" : "Plain <b>text</b>")));
        EXPECT_EQ(Frame()->windowTitle(), "Orvek Lumeno - " + file);
        EXPECT_EQ(Frame()->Task(), task);
    }
    ASSERT_TRUE(Open(LMN_TEST_DATA "/rtf/wordpad.rtf"));
    bool bold = false;  // the formats reach the pane
    for (QTextBlock block = Text().document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            bold = bold || it.fragment().charFormat().fontWeight() == QFont::Bold;
    EXPECT_TRUE(bold);
    document.key = 5;  // a shelved document keeps its shelf name
    document.name = U"Моя книга";
    document.path = WriteFile("book.txt", "Some text of the book").toStdString();
    ASSERT_TRUE(Documents().LoadDocument());
    EXPECT_EQ(Frame()->windowTitle(), "Orvek Lumeno - Моя книга");
}

// The widget's selection with its paragraph breaks out and line separators as CR LF.
std::u32string WidgetSelection(const CTextCtrl& control) {
    std::u32string shown;
    for (const char32_t c : control.textCursor().selectedText().toStdU32String())
        shown += c == QChar::LineSeparator        ? U"\r\n"
                 : c == QChar::ParagraphSeparator ? U""
                                                  : std::u32string(1, c);
    return shown;
}

// Long lines are split for the widget, characters beyond the BMP take two there: all positions
// cross.
TEST(TextCtrl, PositionsCrossIntoTheWidgetExactly) {
    std::mt19937 random(5);
    std::u32string line;
    while (line.size() < 40'000) line += char32_t(random() % 9 == 0 ? U' ' : U'a' + random() % 26);
    const std::u32string mixed = U"Café Gödel «ёлка» 日本語 😀 straße\r\nnext 𝄞 line\r\nи ещё";
    for (const std::u32string& text : {line + U"z", mixed}) {
        DocumentText document;
        document.Replace(text);
        AreaAppearance appearance = DefaultTextArea();
        CTextCtrl control(nullptr, appearance);
        control.ShowDocument(document);
        const PositionMap map(text);
        std::vector<std::pair<std::size_t, std::size_t>> ranges = {{0, text.size()},
                                                                   {text.size() - 3, text.size()}};
        for (const std::size_t split : map.Splits())
            for (const auto& [from, to] :
                 {std::pair{split - 5, split + 5}, std::pair{split, split + 7},
                  std::pair{split - 7, split}, std::pair{split, split}})
                ranges.emplace_back(from, to);
        const auto insideBreak = [&text](std::size_t at) { return text[at] == U'\n'; };
        for (std::size_t i = 0; i + 3 <= text.size() && text.size() < 100; ++i)
            if (!insideBreak(i) && !insideBreak(i + 3)) ranges.emplace_back(i, i + 3);
        for (const auto& [from, to] : ranges) {
            control.SetSelection(from, to);
            ASSERT_EQ(control.Selection(), (TextRange{from, to}));
            ASSERT_EQ(control.SelectedText(), text.substr(from, to - from)) << from;
            ASSERT_EQ(WidgetSelection(control), text.substr(from, to - from)) << from;
        }
    }
}

ModalAnswer::Action TypeAndFind(const QString& text, bool matchCase = false,
                                bool wholeWord = false) {
    return On<CFindDlg>([=](CFindDlg* dialog) {
        dialog->TextField()->setPlainText(text);
        dialog->MatchCaseBox()->setChecked(matchCase);
        dialog->WholeWordBox()->setChecked(wholeWord);
        dialog->FindButton()->click();
    });
}

class FindTest : public ProgramFixture {
protected:
    void Show(std::u32string text) { shown.Replace(std::move(text)), Text().ShowDocument(shown); }
    void Find(ModalAnswer::Action action) {
        ModalAnswer answer(std::move(action));
        ShowFindDialog(finder, shown, Text());
        seen += answer.seen;
    }
    void Next() {
        ModalAnswer answer;
        FindNextCommand(finder, shown, Text());
        seen += answer.seen;
    }
    DocumentText shown;
    TextFinder finder;
    QStringList seen;
};

TEST_F(FindTest, F3GoesOnToTheEndAndThenHasNothingToSearchFor) {
    Start();
    Show(U"cat dog cat bird cat");
    Find(TypeAndFind("cat"));
    for (const TextRange found : {TextRange{0, 3}, {8, 11}, {17, 20}, {17, 20}}) {
        EXPECT_EQ(Text().Selection(), found);
        Next();
    }
    EXPECT_EQ(seen,
              QStringList({"Искать", Told(kSearchNotFound).arg("cat"), Told(kNothingToSearch)}));
    seen.clear();
    Find(TypeAndFind(""));
    EXPECT_EQ(seen, QStringList({"Искать", Told(kNothingToSearch)}));
    // Ctrl+F3 looks for the selection, cut to 255 characters, from after it.
    Text().SetSelection(8, 11);
    FindSelectionCommand(finder, shown, Text());
    EXPECT_EQ(Text().Selection(), (TextRange{17, 20}));
    Show(std::u32string(300, U'b'));
    Text().SetSelection(0, 300);
    FindSelectionCommand(finder, shown, Text());
    EXPECT_EQ(Text().Selection(), (TextRange{1, 256}));
}

TEST_F(FindTest, TheOptionsAndTheOfferedTextComeFromTheDialog) {
    Start();
    struct Row {
        std::string text;  // Windows-1251
        TextRange selection;
        QString typed;  // null: the offered selection, accepted unchanged
        bool matchCase, wholeWord;
        TextRange found;
    };
    const Row rows[] = {
        {"\xCA\xEE\xF2 \xF1\xE8\xE4\xE5\xEB. \xEA\xEE\xF2", {0, 0}, "кот", false, false, {0, 3}},
        {"\xCA\xEE\xF2 \xF1\xE8\xE4\xE5\xEB. \xEA\xEE\xF2", {0, 0}, "кот", true, false, {11, 14}},
        {"\xEA\xEE\xF2\xE8\xEA \xEA\xEE\xF2", {0, 0}, "кот", false, true, {6, 9}},
        {"one\r\ntwo one\r\ntwo", {0, 8}, {}, false, false, {9, 17}},
        {"one\ntwo one\ntwo", {0, 7}, {}, false, false, {8, 15}},
        {"a\xA0"
         "b a b a\xA0"
         "b",
         {0, 3},
         {},
         false,
         false,
         {8, 11}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        Show(FromCp1251(row.text));
        Text().SetSelection(row.selection.start, row.selection.end);
        Find(row.typed.isNull() ? ModalAnswer::Action()
                                : TypeAndFind(row.typed, row.matchCase, row.wholeWord));
        EXPECT_EQ(Text().Selection(), row.found);
    }
    // The next dialog has the options last used and offers a selection up to 220; Cancel keeps all.
    Show(std::u32string(300, U'a'));
    for (const int length : {220, 221}) {
        Text().SetSelection(0, length);
        const SearchState before = finder.State();
        Find(On<CFindDlg>([length](CFindDlg* dialog) {
            EXPECT_EQ(dialog->TextField()->toPlainText(),
                      length == 220 ? QString(220, u'a') : QString());
            EXPECT_FALSE(dialog->MatchCaseBox()->isChecked());
            EXPECT_TRUE(dialog->WholeWordBox()->isChecked());
            dialog->reject();
        }));
        EXPECT_EQ(finder.State(), before);
        EXPECT_EQ(Text().Selection(), (TextRange{0, static_cast<std::size_t>(length)}));
    }
}

TEST(FindDialog, TheFieldTakes220CharactersAndEnterFinds) {
    CFindDlg dialog(U"кот", {true, false});
    QPlainTextEdit* field = dialog.TextField();
    field->moveCursor(QTextCursor::End);
    QTest::keyClick(field, Qt::Key_Return, Qt::ControlModifier);  // a new line, not the search
    EXPECT_EQ(dialog.SearchText(), U"кот\r\n");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    field->setPlainText(QString(219, u'x'));
    QTextCursor caret = field->textCursor();
    caret.setPosition(5);
    field->setTextCursor(caret);
    field->insertPlainText("ABC");  // cut to what fits, at the caret
    EXPECT_EQ(field->toPlainText(), QString(5, u'x') + u'A' + QString(214, u'x'));
    field->insertPlainText("YYY");  // into a full field: dropped
    QTest::keyClicks(field, "ZZ");
    EXPECT_EQ(field->toPlainText().size(), 220);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Options(), (SearchOptions{true, false}));
}

}  // namespace
