#include <QCheckBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
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
    void SetNonDefaults() {
        Record() = DefaultSettings(1024, 768);
        Record().startupAction = 2;
        Record().severalWords = 1;
        Record().commaDelayLevel = 6;
        Record().stopDelayLevel = 1;
        Record().thresholdChars = 17;
        Record().clickStep = 4;
        Frame()->ReaderBar()->SetSpeedLevel(40);
    }
    static std::vector<int> Shown(const CGeneralDlg& d) {
        return {d.CommaArrows()->Pos(), d.StopArrows()->Pos(), d.ThresholdArrows()->Pos(),
                d.ClickStepArrows()->Pos(), d.SeveralWordsButton()->isChecked(),
                d.ThresholdArrows()->isEnabled(), d.ThresholdDisplay()->text().toInt()};
    }
    std::vector<int> Stored() {
        const ReaderSettings& r = Record();
        return {r.commaDelayLevel, r.stopDelayLevel, r.thresholdChars, r.clickStep,
                r.severalWords, r.startupAction, Frame()->ReaderBar()->SpeedLevel()};
    }
};

// Values a damaged file may hold end at the nearer end of the range; a mode
// other than 1 reads one word at a time and shows so. The threshold is for
// several words only.
TEST_F(SettingsDialogsTest, TheGeneralDialogShowsTheRecordWithinTheRanges) {
    Start();
    struct Row {
        std::int32_t comma, stop, threshold, click, severalWords, startup;
        std::vector<int> shown;
        int startupChecked;
    };
    const Row rows[] = {
        {2, 7, 12, 5, 1, 1, {2, 7, 12, 5, 1, 1, 12}, 1},
        {0, 0, 5, 1, 0, 0, {0, 0, 5, 1, 0, 0, 5}, 0},
        {-3, 12, 0, 99, 5, 9, {0, 7, 5, 5, 0, 0, 5}, 0},
    };
    for (const Row& row : rows) {
        Record().commaDelayLevel = row.comma;
        Record().stopDelayLevel = row.stop;
        Record().thresholdChars = row.threshold;
        Record().clickStep = row.click;
        Record().severalWords = row.severalWords;
        Record().startupAction = row.startup;
        CGeneralDlg dialog(Record());
        EXPECT_EQ(Shown(dialog), row.shown) << row.comma;
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

// Nothing reaches the record before OK, but "Дефолт" stands after Cancel;
// the speed level waits for OK.
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
        // lmn.dat's record does not hold the focus letter (lmn.ini does).
        ReaderSettings without = Record();
        without.extras = {};
        EXPECT_EQ(SerializeSettings(Record()), SerializeSettings(without));
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

CAreaDlg::FontChooser Choose(QFont font) {
    return [font](const QFont&, QWidget*) { return std::optional<QFont>(font); };
}

// The style is named by weight 700 only (AreaChoice's rule); the pane draws
// by the weight, not by the name. A size of 10.5 points is shown and kept as 10.
TEST(AreaDlg, TheChosenFontIsShownAsTheDialogGaveIt) {
    struct Row {
        int weight;
        bool italic;
        double points;
        const char* style;
        bool drawnBold;
        const char* size;
    };
    for (const Row& row : {Row{600, false, 14, "Regular", false, "14"},
                           Row{800, false, 14, "Regular", true, "14"},
                           Row{700, true, 10.5, "Bold Italic", true, "10"}}) {
        SCOPED_TRACE(row.weight);
        CAreaDlg dialog(AreaPane::Text, DefaultTextArea());
        QFont chosen("Liberation Mono");
        chosen.setPointSizeF(row.points);
        chosen.setWeight(static_cast<QFont::Weight>(row.weight));
        chosen.setItalic(row.italic);
        dialog.chooseFont = Choose(chosen);
        dialog.ChooseFont();
        EXPECT_EQ(dialog.StyleField()->text(), row.style);
        EXPECT_EQ(dialog.FaceField()->text(), "Liberation Mono");
        EXPECT_EQ(dialog.SizeField()->text(), row.size);
        EXPECT_EQ(dialog.Area().pointSize, QString(row.size).toInt());
        EXPECT_EQ(dialog.Area().font.height, -qRound(row.points * dialog.logicalDpiY() / 72));
        EXPECT_EQ(dialog.Area().font.charSet, 204);  // the character set stays
        EXPECT_EQ(TextAreaFont(dialog.Area()).bold(), row.drawnBold);
    }
}

// The font dialog starts from the family the pane really draws with (a stored
// face may be missing); OK without a change, or Cancel, stores nothing, though
// the font dialog answers in whole points (52.5 comes back as 53).
TEST(AreaDlg, ChoicesWithoutAChangeStoreNothing) {
    for (const AreaPane pane : {AreaPane::Text, AreaPane::Reading}) {
        const AreaAppearance start = pane == AreaPane::Text ? DefaultTextArea() : DefaultReadingArea();
        CAreaDlg dialog(pane, start);
        const QString size = dialog.SizeField()->text();
        QFont offered;
        dialog.chooseFont = [&](const QFont& initial, QWidget*) {
            offered = initial;
            QFont same = initial;
            same.setPointSize(qRound(initial.pointSizeF()));
            return std::optional<QFont>(same);
        };
        dialog.ChooseFont();
        const QFontInfo drawn(pane == AreaPane::Text ? TextAreaFont(start) : FontFromLogFont(start.font));
        EXPECT_EQ(offered.family(), drawn.family());
        EXPECT_EQ(dialog.Area(), start);
        EXPECT_EQ(dialog.SizeField()->text(), size);
        dialog.chooseFont = [](const QFont&, QWidget*) { return std::optional<QFont>(); };
        dialog.chooseColor = [](const QColor&, QWidget*) { return std::optional<QColor>(); };
        dialog.ChooseFont();
        dialog.ChooseTextColor();
        dialog.ChooseBackgroundColor();
        EXPECT_EQ(dialog.Area(), start);
    }
}

TEST(AreaDlg, ChosenColorsFillTheSwatchesAndDefaultsRestoreThePane) {
    CAreaDlg dialog(AreaPane::Reading, DefaultTextArea());
    QColor offered;
    dialog.chooseColor = [&](const QColor& initial, QWidget*) {
        offered = initial;
        return std::optional<QColor>(QColor(1, 2, 3));
    };
    dialog.ChooseTextColor();
    EXPECT_EQ(offered, ColorFromColorRef(DefaultTextArea().textColor));
    EXPECT_EQ(dialog.Area().textColor, 0x00030201u);
    EXPECT_EQ(dialog.TextSwatch()->BackgroundColor(), QColor(1, 2, 3));
    dialog.ChooseBackgroundColor();
    EXPECT_EQ(dialog.Area().backgroundColor, 0x00030201u);
    EXPECT_EQ(dialog.BackgroundSwatch()->BackgroundColor(), QColor(1, 2, 3));
    EXPECT_FALSE(dialog.Note()->isVisibleTo(&dialog));  // the note is the text pane's
    dialog.RestoreDefaults();
    EXPECT_EQ(dialog.FaceField()->text(), "Arial");
    EXPECT_EQ(dialog.SizeField()->text(), "53");  // 70 pixels at 96 dpi, as the font dialog shows them
    EXPECT_EQ(dialog.BackgroundSwatch()->BackgroundColor(), QColor(0, 0, 0));
    CAreaDlg text(AreaPane::Text, DefaultReadingArea());
    EXPECT_TRUE(text.Note()->isVisibleTo(&text));
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
