#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "TestText.h"
#include "base/CodePage.h"
#include "text/CFindDlg.h"
#include "text/CTextCtrl.h"
#include "text/FindCommands.h"
#include "text/TextFinder.h"

// Texts are typed here as UTF-8; the text control holds them as code points.

namespace {

std::u32string Cp(std::string_view utf8) { return FromUtf8(utf8); }

const QString kNothing = "Orvek Lumeno|Не указано что искать";
QString NotFound(const QString& what) {
    return "Orvek Lumeno|Фрагмент текста \"" + what + "\" не обнаружен";
}

// Fills the search dialog as the user would and presses "Искать"; every
// message box is confirmed.
ModalAnswer::Action TypeAndFind(const QString& text, bool matchCase = false,
                                bool wholeWord = false) {
    return [=](QWidget* modal) {
        if (auto* dialog = qobject_cast<CFindDlg*>(modal)) {
            dialog->TextField()->setPlainText(text);
            dialog->MatchCaseBox()->setChecked(matchCase);
            dialog->WholeWordBox()->setChecked(wholeWord);
            dialog->FindButton()->click();
        } else if (auto* box = qobject_cast<QDialog*>(modal)) {
            box->accept();
        }
    };
}

class FindDialogTest : public ProgramFixture {
protected:
    CTextCtrl& Text() { return *Frame()->TextCtrl(); }
    void Show(std::u32string text) {
        shown.Replace(std::move(text));
        Text().ShowDocument(shown);
    }
    void Load(std::string_view utf8) {
        Start();
        Show(Cp(utf8));
    }

    DocumentText shown;
};

TEST_F(FindDialogTest, RunsTheF3CycleWithItsMessages) {
    Load("cat dog cat bird cat");
    TextFinder finder;
    ModalAnswer answer(TypeAndFind("cat"));
    ShowFindDialog(finder, shown, Text());
    EXPECT_EQ(Text().Selection(), (TextRange{0, 3}));
    FindNextCommand(finder, shown, Text());
    EXPECT_EQ(Text().Selection(), (TextRange{8, 11}));
    FindNextCommand(finder, shown, Text());
    EXPECT_EQ(Text().Selection(), (TextRange{17, 20}));
    FindNextCommand(finder, shown, Text());
    EXPECT_EQ(Text().Selection(), (TextRange{17, 20}));
    EXPECT_TRUE(finder.State().searchText.empty());
    FindNextCommand(finder, shown, Text());
    EXPECT_EQ(answer.seen, (QStringList{"Искать", NotFound("cat"), kNothing}));
}

TEST_F(FindDialogTest, TheCheckBoxesFeedTheOptionsAndComeBackNextTime) {
    struct Row {
        const char* name;
        const char* text;
        bool matchCase;
        bool wholeWord;
        TextRange found;
    };
    const Row rows[] = {
        {"case folded", "Кот сидел. кот", false, false, {0, 3}},
        {"case kept", "Кот сидел. кот", true, false, {11, 14}},
        {"inside a longer word", "котик кот", false, false, {0, 3}},
        {"whole word", "котик кот", false, true, {6, 9}},
    };
    Start();
    TextFinder finder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Show(Cp(row.text));
        Text().SetCaret(0);
        ModalAnswer answer(TypeAndFind("кот", row.matchCase, row.wholeWord));
        ShowFindDialog(finder, shown, Text());
        EXPECT_EQ(Text().Selection(), row.found);
        EXPECT_EQ(finder.State().options, (SearchOptions{row.matchCase, row.wholeWord}));
    }
    // The next dialog opens with the options last used.
    bool matchCase = false;
    bool wholeWord = false;
    ModalAnswer peek([&](QWidget* modal) {
        auto* dialog = qobject_cast<CFindDlg*>(modal);
        if (dialog == nullptr) return;
        matchCase = dialog->MatchCaseBox()->isChecked();
        wholeWord = dialog->WholeWordBox()->isChecked();
        dialog->reject();
    });
    ShowFindDialog(finder, shown, Text());
    EXPECT_FALSE(matchCase);
    EXPECT_TRUE(wholeWord);
}

TEST_F(FindDialogTest, CancelChangesNothing) {
    Load("cat dog cat");
    TextFinder finder;
    {
        ModalAnswer answer(TypeAndFind("dog"));
        ShowFindDialog(finder, shown, Text());
    }
    const SearchState before = finder.State();
    Text().SetSelection(1, 2);
    ModalAnswer cancel([](QWidget* modal) {
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    });
    ShowFindDialog(finder, shown, Text());
    EXPECT_EQ(finder.State(), before);
    EXPECT_EQ(Text().Selection(), (TextRange{1, 2}));
    EXPECT_EQ(cancel.seen, (QStringList{"Искать"}));
}

TEST_F(FindDialogTest, AnEmptyFieldHasNothingToSearchFor) {
    Load("cat dog cat");
    TextFinder finder;
    ModalAnswer answer(TypeAndFind(""));
    ShowFindDialog(finder, shown, Text());
    EXPECT_EQ(answer.seen, (QStringList{"Искать", kNothing}));
}

TEST_F(FindDialogTest, OffersTheSelectionUpTo220Characters) {
    Start();
    Show(std::u32string(300, U'a'));
    TextFinder finder;
    for (const int length : {220, 221}) {
        SCOPED_TRACE(length);
        Text().SetSelection(0, length);
        QString offered = "unset";
        ModalAnswer peek([&](QWidget* modal) {
            if (auto* dialog = qobject_cast<CFindDlg*>(modal)) {
                offered = dialog->TextField()->toPlainText();
                dialog->reject();
            }
        });
        ShowFindDialog(finder, shown, Text());
        EXPECT_EQ(offered, length == 220 ? QString(220, u'a') : QString());
    }
}

TEST_F(FindDialogTest, CtrlF3FindsTheNextOccurrenceOfTheSelection) {
    Load("cat dog cat bird cat");
    TextFinder finder;
    ModalAnswer answer;
    Text().SetSelection(8, 11);
    FindSelectionCommand(finder, shown, Text());
    EXPECT_EQ(Text().Selection(), (TextRange{17, 20}));
    FindNextCommand(finder, shown, Text());
    EXPECT_EQ(Text().Selection(), (TextRange{0, 3}));
    FindNextCommand(finder, shown, Text());
    EXPECT_EQ(answer.seen, (QStringList{NotFound("cat")}));

    Show(std::u32string(300, U'b'));
    Text().SetSelection(0, 300);
    FindSelectionCommand(finder, shown, Text());
    EXPECT_EQ(finder.State().searchText, std::u32string(255, U'b'));
    EXPECT_EQ(Text().Selection(), (TextRange{1, 256}));
}

TEST_F(FindDialogTest, AnOfferedTextWithLineBreaksIsSearchedCharacterForCharacter) {
    // A selection holding CR LF, and one holding a no-break space (0xA0),
    // accepted unchanged, find their next occurrences.
    struct Row {
        const char* name;
        std::string text;  // Windows-1251
        TextRange selection;
        TextRange found;
    };
    const Row rows[] = {
        {"CR LF", "one\r\ntwo one\r\ntwo", {0, 8}, {9, 17}},
        {"bare LF", "one\ntwo one\ntwo", {0, 7}, {8, 15}},
        {"no-break space",
         "a\xA0"
         "b a b a\xA0"
         "b",
         {0, 3},
         {8, 11}},
    };
    Start();
    TextFinder finder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Show(FromCp1251(row.text));
        Text().SetSelection(row.selection.start, row.selection.end);
        ModalAnswer accept;
        ShowFindDialog(finder, shown, Text());
        EXPECT_EQ(Text().Selection(), row.found);
        EXPECT_EQ(accept.seen, (QStringList{"Искать"}));
    }
}

TEST(FindDialog, FieldTakesAtMost220Characters) {
    CFindDlg dialog({}, {});
    QPlainTextEdit* field = dialog.TextField();
    field->insertPlainText(QString(230, u'x'));
    EXPECT_EQ(field->toPlainText(), QString(220, u'x'));

    // A paste into a full field is dropped; into a nearly full one it is cut
    // to what fits, at the caret.
    QTextCursor caret = field->textCursor();
    caret.setPosition(10);
    field->setTextCursor(caret);
    field->insertPlainText("YYY");
    EXPECT_EQ(field->toPlainText(), QString(220, u'x'));
    field->setPlainText(QString(219, u'x'));
    caret.setPosition(5);
    field->setTextCursor(caret);
    field->insertPlainText("ABC");
    EXPECT_EQ(field->toPlainText(), QString(5, u'x') + u'A' + QString(214, u'x'));
    QTest::keyClicks(field, "ZZ");
    EXPECT_EQ(field->toPlainText().size(), 220);
}

TEST(FindDialog, EnterFindsAndCtrlEnterStartsANewLine) {
    CFindDlg dialog(Cp("кот"), {true, false});
    EXPECT_TRUE(dialog.MatchCaseBox()->isChecked());
    EXPECT_FALSE(dialog.WholeWordBox()->isChecked());
    EXPECT_EQ(dialog.windowTitle(), "Искать");
    QPlainTextEdit* field = dialog.TextField();
    EXPECT_EQ(field->textCursor().selectedText(), "кот");  // offered text selected
    field->moveCursor(QTextCursor::End);
    QTest::keyClick(field, Qt::Key_Return, Qt::ControlModifier);
    field->insertPlainText("пёс");
    EXPECT_EQ(dialog.SearchText(), Cp("кот\r\nпёс"));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Options(), (SearchOptions{true, false}));
}

}  // namespace
