#include <QCheckBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTextCursor>
#include <QToolButton>

#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "frame/CReaderBar.h"
#include "settings/AreaFormat.h"
#include "settings/CAreaDlg.h"
#include "settings/CGeneralDlg.h"
#include "widgets/CColorStatic.h"
#include "widgets/CUpDownCtrl.h"

namespace {

class SettingsDialogsTest : public ProgramFixture {
protected:
    ReaderSettings& Record() { return settings.settings; }
    static void Press(QWidget* dialog, const char* button) {
        dialog->findChild<QPushButton*>(button)->click();
    }
    // Comma, stop, threshold, click step, several words, start-up action.
    void Set(const std::array<std::int32_t, 6>& v) {
        ReaderSettings& r = Record();
        std::tie(r.commaDelayLevel, r.stopDelayLevel, r.thresholdChars, r.clickStep, r.severalWords,
                 r.startupAction) = std::tuple(v[0], v[1], v[2], v[3], v[4], v[5]);
    }
    void SetNonDefaults() {
        Record() = DefaultSettings(1024, 768);
        Set({6, 1, 17, 4, 1, 2});
        Frame()->ReaderBar()->SetSpeedLevel(40);
    }
    static std::vector<int> Shown(const CGeneralDlg& d) {
        return {d.CommaArrows()->Pos(),
                d.StopArrows()->Pos(),
                d.ThresholdArrows()->Pos(),
                d.ClickStepArrows()->Pos(),
                d.SeveralWordsButton()->isChecked(),
                d.ThresholdArrows()->isEnabled(),
                d.ThresholdDisplay()->text().toInt()};
    }
    std::vector<int> Stored() {
        const ReaderSettings& r = Record();
        return {r.commaDelayLevel,
                r.stopDelayLevel,
                r.thresholdChars,
                r.clickStep,
                r.severalWords,
                r.startupAction,
                Frame()->ReaderBar()->SpeedLevel()};
    }
};

// Values out of range show at the nearer end; a mode other than 1 is one word.
TEST_F(SettingsDialogsTest, TheGeneralDialogShowsTheRecordWithinTheRanges) {
    Start();
    struct Row {
        std::array<std::int32_t, 6> stored;
        std::vector<int> shown;
        int startupChecked;
    };
    for (const Row& row : {Row{{2, 7, 12, 5, 1, 1}, {2, 7, 12, 5, 1, 1, 12}, 1},
                           Row{{0, 0, 5, 1, 0, 0}, {0, 0, 5, 1, 0, 0, 5}, 0},
                           Row{{-3, 12, 0, 99, 5, 9}, {0, 7, 5, 5, 0, 0, 5}, 0}}) {
        Set(row.stored);
        CGeneralDlg dialog(Record());
        EXPECT_EQ(Shown(dialog), row.shown) << row.stored[0];
        EXPECT_TRUE(dialog.StartupButton(row.startupChecked)->isChecked());
        dialog.SeveralWordsButton()->click();
        EXPECT_TRUE(dialog.ThresholdArrows()->isEnabled());
        EXPECT_TRUE(dialog.ThresholdDisplay()->isEnabled());
        EXPECT_FALSE(dialog.FocusLetterBox()->isEnabled());  // for one word only
        dialog.OneWordButton()->click();
        EXPECT_FALSE(dialog.ThresholdDisplay()->isEnabled());
        EXPECT_TRUE(dialog.FocusLetterBox()->isEnabled());
    }
}

// Nothing reaches the record before OK, but "Дефолт" stands after Cancel; the speed waits for OK.
TEST_F(SettingsDialogsTest, TheGeneralDialogStoresOnOkAndDefaultsAtOnce) {
    Start();
    SetNonDefaults();
    {
        CGeneralDlg dialog(Record());
        dialog.CommaArrows()->DownArrow()->click();
        dialog.StopArrows()->UpArrow()->click();
        for (int i = 0; i < 20; ++i) dialog.ThresholdArrows()->UpArrow()->click();
        dialog.ClickStepArrows()->DownArrow()->click();
        dialog.OneWordButton()->click();
        dialog.StartupButton(1)->click();
        dialog.FocusLetterBox()->click();
        EXPECT_EQ(Stored(), std::vector<int>({6, 1, 17, 4, 1, 2, 40}));
        EXPECT_FALSE(Record().extras.focusLetter);
        Press(&dialog, "OkButton");
        EXPECT_EQ(Stored(), std::vector<int>({5, 2, 20, 3, 0, 1, 40}));
        EXPECT_TRUE(Record().extras.focusLetter);
    }
    SetNonDefaults();
    Record().extras.focusLetter = true;
    {
        CGeneralDlg dialog(Record());
        EXPECT_TRUE(dialog.FocusLetterBox()->isChecked());
        Press(&dialog, "DefaultsButton");
        EXPECT_EQ(Shown(dialog), std::vector<int>({3, 5, 10, 1, 0, 0, 10}));
        EXPECT_TRUE(dialog.StartupButton(0)->isChecked());
        EXPECT_FALSE(dialog.FocusLetterBox()->isChecked());
        Press(&dialog, "CancelButton");
    }
    EXPECT_EQ(Stored(), std::vector<int>({3, 5, 10, 1, 0, 0, 40}));
    EXPECT_EQ(Record().extras, ReaderExtras{});
    SetNonDefaults();
    ModalAnswer defaultsThenOk([](QWidget* modal) {
        Press(modal, "DefaultsButton");
        Press(modal, "OkButton");
    });
    Trigger(CommandId::ID_SETTINGS_GENERAL);
    EXPECT_EQ(Stored(), std::vector<int>({3, 5, 10, 1, 0, 0, 25}));
}

// A language chosen is kept and speaks from the next start, which a note in it says when it is
// not the one spoken now.
TEST_F(SettingsDialogsTest, ALanguageChosenIsKeptAndAnnouncedInItself) {
    Start();
    EXPECT_TRUE(Frame()->Action(CommandId::ID_LANGUAGE_DESKTOP)->isChecked());
    ModalAnswer answer;
    for (const CommandId id : {CommandId::ID_LANGUAGE_ENGLISH, CommandId::ID_LANGUAGE_ENGLISH,
                               CommandId::ID_LANGUAGE_RUSSIAN})
        Trigger(id);
    EXPECT_EQ(
        answer.seen,
        QStringList{"Orvek Lumeno|The language will change the next time the program starts."});
    EXPECT_TRUE(Frame()->Action(CommandId::ID_LANGUAGE_RUSSIAN)->isChecked());
    const QSettings file(QDir(directory.path()).filePath("lmn.ini"), QSettings::IniFormat);
    EXPECT_EQ(file.value("Interface/Language").toString(), "ru");
}

// The font dialog starts from the family the pane draws with; OK without a change (in whole
// points: 52.5 comes back as 53) or Cancel stores nothing. A colour chosen fills its swatch.
TEST(AreaDlg, ChoicesWithoutAChangeStoreNothingAndAColourIsKept) {
    for (const AreaPane pane : {AreaPane::Text, AreaPane::Reading}) {
        const AreaAppearance start =
            pane == AreaPane::Text ? DefaultTextArea() : DefaultReadingArea();
        CAreaDlg dialog(pane, start);
        EXPECT_EQ(dialog.Note()->isVisibleTo(&dialog), pane == AreaPane::Text);
        const QString size = dialog.SizeField()->text();
        QFont offered;
        dialog.chooseFont = [&](const QFont& initial, QWidget*) {
            offered = initial;
            QFont same = initial;
            same.setPointSize(qRound(initial.pointSizeF()));
            return std::optional<QFont>(same);
        };
        dialog.ChooseFont();
        const QFontInfo drawn(pane == AreaPane::Text ? TextAreaFont(start)
                                                     : FontFromLogFont(start.font));
        EXPECT_EQ(offered.family(), drawn.family());
        EXPECT_EQ(dialog.Area(), start);
        EXPECT_EQ(dialog.SizeField()->text(), size);
        dialog.chooseFont = [](const QFont&, QWidget*) { return std::optional<QFont>(); };
        dialog.chooseColor = [](const QColor&, QWidget*) { return std::optional<QColor>(); };
        dialog.ChooseFont();
        dialog.ChooseTextColor();
        EXPECT_EQ(dialog.Area(), start);
        QColor shown;
        dialog.chooseColor = [&shown](const QColor& initial, QWidget*) {
            shown = initial;
            return std::optional<QColor>(QColor(1, 2, 3));
        };
        dialog.ChooseBackgroundColor();
        EXPECT_EQ(shown, ColorFromColorRef(start.backgroundColor));
        EXPECT_EQ(dialog.Area().backgroundColor, 0x00030201u);
        EXPECT_EQ(dialog.BackgroundSwatch()->BackgroundColor(), QColor(1, 2, 3));
    }
}

TEST_F(SettingsDialogsTest, DefaultsThenOkGiveTheTextPane228TwipsOnCream) {
    Start();
    LoadClipboardText("Some text to format");
    Record().textArea.font.SetFaceName("Arial");
    Record().textArea.font.weight = 800;
    Record().textArea.pointSize = 20;
    Record().textArea.backgroundColor = 0x00000080;
    ModalAnswer answer([](QWidget* modal) {
        Press(modal, "DefaultsButton");
        Press(modal, "OkButton");
    });
    Trigger(CommandId::ID_SETTINGS_TEXT_AREA);
    EXPECT_EQ(answer.seen.size(), 1);
    EXPECT_EQ(Record().textArea.font.charSet, 0);
    QTextCursor cursor(Text().document());
    cursor.setPosition(3);
    const QFont shown = cursor.charFormat().font();
    EXPECT_EQ(qRound(shown.pointSizeF() * 20), 228);
    EXPECT_EQ(shown.family(), "Times New Roman");
    EXPECT_FALSE(shown.bold());
    EXPECT_EQ(Text().palette().color(QPalette::Base), QColor(252, 254, 228));
}

}  // namespace
