#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
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
#include "settings/ExtrasFile.h"
#include "text/CTextCtrl.h"
#include "widgets/CColorStatic.h"
#include "widgets/CUpDownCtrl.h"

// The settings start as the program's first run makes them; each test sets
// the fields it is about.

namespace {

class GeneralDlgTest : public ProgramFixture {
protected:
    ReaderSettings& Record() { return settings.settings; }
    CReaderBar* Bar() const { return Frame()->ReaderBar(); }
    static void Press(QWidget* dialog, const char* button) {
        dialog->findChild<QPushButton*>(button)->click();
    }
    void SetNonDefaults() {
        Record().startupAction = 2;
        Record().severalWords = 1;
        Record().commaDelayLevel = 6;
        Record().stopDelayLevel = 1;
        Record().thresholdChars = 17;
        Record().clickStep = 4;
        Bar()->SetSpeedLevel(40);
    }
};

TEST_F(GeneralDlgTest, ThresholdIsEnabledOnlyForSeveralWords) {
    Start();
    Record().severalWords = 0;
    CGeneralDlg dialog(Record());
    EXPECT_EQ(dialog.windowTitle(), "Настройки. Общие");
    EXPECT_TRUE(dialog.OneWordButton()->isChecked());
    EXPECT_FALSE(dialog.ThresholdDisplay()->isEnabled());
    EXPECT_FALSE(dialog.ThresholdArrows()->isEnabled());
    EXPECT_TRUE(dialog.ClickStepArrows()->isEnabled());
    dialog.SeveralWordsButton()->click();
    EXPECT_TRUE(dialog.ThresholdDisplay()->isEnabled());
    EXPECT_TRUE(dialog.ThresholdArrows()->isEnabled());
    dialog.OneWordButton()->click();
    EXPECT_FALSE(dialog.ThresholdArrows()->isEnabled());

    Record().severalWords = 1;
    CGeneralDlg several(Record());
    EXPECT_TRUE(several.SeveralWordsButton()->isChecked());
    EXPECT_TRUE(several.ThresholdArrows()->isEnabled());
}

TEST_F(GeneralDlgTest, ShowsTheRecordWithinTheRanges) {
    struct Row {
        const char* name;
        std::int32_t comma, stop, threshold, click, severalWords, startup;
        int shownComma, shownStop, shownThreshold, shownClick;
        bool severalChecked;
        int startupChecked;
    };
    const Row rows[] = {
        {"in range", 2, 7, 12, 5, 1, 1, 2, 7, 12, 5, true, 1},
        {"lowest", 0, 0, 5, 1, 0, 0, 0, 0, 5, 1, false, 0},
        // Values a damaged file may hold end at the nearer end of the range;
        // a mode other than 1 reads one word at a time and shows so, and an
        // unknown start-up action does nothing and shows so.
        {"out of range", -3, 12, 0, 99, 5, 9, 0, 7, 5, 5, false, 0},
    };
    Start();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Record().commaDelayLevel = row.comma;
        Record().stopDelayLevel = row.stop;
        Record().thresholdChars = row.threshold;
        Record().clickStep = row.click;
        Record().severalWords = row.severalWords;
        Record().startupAction = row.startup;
        CGeneralDlg dialog(Record());
        EXPECT_EQ(dialog.CommaArrows()->Pos(), row.shownComma);
        EXPECT_EQ(dialog.StopArrows()->Pos(), row.shownStop);
        EXPECT_EQ(dialog.ThresholdArrows()->Pos(), row.shownThreshold);
        EXPECT_EQ(dialog.ClickStepArrows()->Pos(), row.shownClick);
        EXPECT_EQ(dialog.ThresholdDisplay()->text(), QString::number(row.shownThreshold));
        EXPECT_EQ(dialog.SeveralWordsButton()->isChecked(), row.severalChecked);
        EXPECT_TRUE(dialog.StartupButton(row.startupChecked)->isChecked());
    }
}

TEST_F(GeneralDlgTest, DefaultsStandAfterCancelButTheSpeedWaitsForOk) {
    Start();
    SetNonDefaults();
    {
        CGeneralDlg dialog(Record());
        Press(&dialog, "DefaultsButton");
        EXPECT_EQ(dialog.CommaArrows()->Pos(), 3);
        EXPECT_EQ(dialog.StopArrows()->Pos(), 5);
        EXPECT_EQ(dialog.ThresholdArrows()->Pos(), 10);
        EXPECT_EQ(dialog.ClickStepArrows()->Pos(), 1);
        EXPECT_TRUE(dialog.OneWordButton()->isChecked());
        EXPECT_TRUE(dialog.StartupButton(0)->isChecked());
        EXPECT_FALSE(dialog.ThresholdArrows()->isEnabled());
        Press(&dialog, "CancelButton");
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    EXPECT_EQ(Record().startupAction, 0);
    EXPECT_EQ(Record().severalWords, 0);
    EXPECT_EQ(Record().commaDelayLevel, 3);
    EXPECT_EQ(Record().stopDelayLevel, 5);
    EXPECT_EQ(Record().thresholdChars, 10);
    EXPECT_EQ(Record().clickStep, 1);
    EXPECT_EQ(Bar()->SpeedLevel(), 40);

    SetNonDefaults();
    ModalAnswer defaultsThenOk([](QWidget* modal) {
        Press(modal, "DefaultsButton");
        Press(modal, "OkButton");
    });
    Trigger(CommandId::ID_SETTINGS_GENERAL);
    EXPECT_EQ(Bar()->SpeedLevel(), 25);
    EXPECT_EQ(Record().commaDelayLevel, 3);
    EXPECT_EQ(Record().stopDelayLevel, 5);
    EXPECT_EQ(Record().thresholdChars, 10);
    EXPECT_EQ(Record().severalWords, 0);
}

TEST_F(GeneralDlgTest, OkStoresWhatItShows) {
    Start();
    SetNonDefaults();
    CGeneralDlg dialog(Record());
    dialog.CommaArrows()->DownArrow()->click();
    dialog.StopArrows()->UpArrow()->click();
    for (int i = 0; i < 20; ++i) dialog.ThresholdArrows()->UpArrow()->click();
    dialog.ClickStepArrows()->DownArrow()->click();
    dialog.OneWordButton()->click();
    dialog.StartupButton(1)->click();
    // Nothing reaches the record before OK.
    EXPECT_EQ(Record().commaDelayLevel, 6);
    EXPECT_EQ(Record().clickStep, 4);
    Press(&dialog, "OkButton");
    EXPECT_EQ(Record().commaDelayLevel, 5);
    EXPECT_EQ(Record().stopDelayLevel, 2);
    EXPECT_EQ(Record().thresholdChars, 20);
    EXPECT_EQ(Record().clickStep, 3);
    EXPECT_EQ(Record().severalWords, 0);
    EXPECT_EQ(Record().startupAction, 1);
    EXPECT_EQ(Bar()->SpeedLevel(), 40);
}

TEST_F(GeneralDlgTest, FocusLetterIsForOneWordAndReachesLmnIniNotLmnDat) {
    Start();
    Record().severalWords = 1;
    CGeneralDlg dialog(Record());
    QCheckBox* focus = dialog.FocusLetterBox();
    EXPECT_EQ(focus->text(), "Выделять опорную букву");
    EXPECT_FALSE(focus->isChecked());  // off by default
    EXPECT_FALSE(focus->isEnabled());
    dialog.OneWordButton()->click();
    ASSERT_TRUE(focus->isEnabled());
    focus->click();
    EXPECT_FALSE(Record().extras.focusLetter);  // nothing before OK
    Press(&dialog, "OkButton");
    EXPECT_TRUE(Record().extras.focusLetter);

    // The settings record's bytes do not hold it; lmn.ini does.
    ReaderSettings without = Record();
    without.extras = {};
    EXPECT_EQ(SerializeSettings(Record()), SerializeSettings(without));
    const QString ini = directory.filePath("lmn.ini");
    Record().extras.focusLetterColor = 0x00336699;
    ASSERT_TRUE(SaveReaderExtras(ini, Record().extras));
    EXPECT_EQ(LoadReaderExtras(ini), Record().extras);
    EXPECT_EQ(LoadReaderExtras(directory.filePath("missing.ini")), ReaderExtras{});

    CGeneralDlg again(Record());
    EXPECT_TRUE(again.FocusLetterBox()->isChecked());
    Press(&again, "DefaultsButton");
    EXPECT_FALSE(again.FocusLetterBox()->isChecked());
    EXPECT_EQ(Record().extras, ReaderExtras{});
}

// Answers the font dialog with a fixed font.
CAreaDlg::FontChooser Choose(QFont font) {
    return [font](const QFont&, QWidget*) { return std::optional<QFont>(font); };
}

class AreaDlgTest : public ProgramFixture {
protected:
    ReaderSettings& Record() { return settings.settings; }
};

TEST(AreaDlg, NamesTheChosenStyleByWeight700Only) {
    struct Row {
        int weight;
        bool italic;
        const char* style;
        bool drawnBold;  // in the text pane
    };
    // The naming rule itself is AreaChoice's; here the dialog shows it and the
    // pane draws by the weight, not by the name.
    const Row rows[] = {
        {600, false, "Regular", false},
        {800, false, "Regular", true},
        {700, true, "Bold Italic", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.weight) + (row.italic ? " italic" : ""));
        CAreaDlg dialog(AreaPane::Text, DefaultTextArea());
        // Another family than the one standing in for the stored face.
        QFont chosen("Liberation Mono");
        chosen.setPointSize(14);
        chosen.setWeight(static_cast<QFont::Weight>(row.weight));
        chosen.setItalic(row.italic);
        dialog.chooseFont = Choose(chosen);
        dialog.ChooseFont();
        EXPECT_EQ(dialog.StyleField()->text(), row.style);
        EXPECT_EQ(dialog.Area().StyleName(), row.style);
        EXPECT_EQ(dialog.Area().font.weight, row.weight);
        EXPECT_EQ(dialog.FaceField()->text(), "Liberation Mono");
        EXPECT_EQ(dialog.SizeField()->text(), "14");
        EXPECT_EQ(TextAreaFont(dialog.Area()).bold(), row.drawnBold);
    }
}

TEST(AreaDlg, KeepsTenAndAHalfPointsAsTen) {
    CAreaDlg dialog(AreaPane::Text, DefaultTextArea());
    QFont chosen("Liberation Sans");
    chosen.setPointSizeF(10.5);
    dialog.chooseFont = Choose(chosen);
    dialog.ChooseFont();
    EXPECT_EQ(dialog.SizeField()->text(), "10");
    EXPECT_EQ(dialog.Area().pointSize, 10);
    EXPECT_EQ(dialog.Area().font.height, -qRound(10.5 * dialog.logicalDpiY() / 72));
    EXPECT_EQ(dialog.Area().font.charSet, 204);  // the character set stays
}

// The dialog lists only installed families: a stored face that is missing
// must start as the family the pane really draws with (not Qt's first pick,
// "Sans Serif"), and OK without a change must keep the stored face.
TEST(AreaDlg, FontDialogStartsFromTheFamilyThePaneUses) {
    const AreaAppearance start = DefaultTextArea();
    CAreaDlg dialog(AreaPane::Text, start);
    QFont offered;
    dialog.chooseFont = [&](const QFont& initial, QWidget*) {
        offered = initial;
        return std::optional<QFont>(initial);
    };
    dialog.ChooseFont();
    const QFontInfo drawn(TextAreaFont(start));
    EXPECT_EQ(offered.family(), drawn.family());
    EXPECT_EQ(offered.styleName(), drawn.styleName());
    EXPECT_EQ(dialog.Area().font.FaceName(), "Times New Roman");
    EXPECT_EQ(dialog.Area().font.pitchAndFamily, start.font.pitchAndFamily);
}

TEST(AreaDlg, CancelledChoicesChangeNothing) {
    const AreaAppearance start = DefaultReadingArea();
    CAreaDlg dialog(AreaPane::Reading, start);
    QFont offered;
    dialog.chooseFont = [&](const QFont& initial, QWidget*) {
        offered = initial;
        return std::optional<QFont>();
    };
    dialog.chooseColor = [](const QColor&, QWidget*) { return std::optional<QColor>(); };
    dialog.ChooseFont();
    dialog.ChooseTextColor();
    dialog.ChooseBackgroundColor();
    EXPECT_EQ(dialog.Area(), start);
    // The reading pane draws the LOGFONT's 70 pixels: the font dialog starts there.
    EXPECT_EQ(offered.family(), QFontInfo(QFont("Arial")).family());
    EXPECT_EQ(qRound(offered.pointSizeF() * dialog.logicalDpiY() / 72), 70);
}

// The font dialog answers OK in whole points: 52.5 (70 px at 96 dpi) comes
// back as 53, which would be stored as 71 px although nothing was changed.
TEST(AreaDlg, OkInTheFontDialogWithoutAChangeStoresNothing) {
    const AreaAppearance start = DefaultReadingArea();
    CAreaDlg dialog(AreaPane::Reading, start);
    const QString shownBefore = dialog.SizeField()->text();
    dialog.chooseFont = [](const QFont& initial, QWidget*) {
        QFont same = initial;
        same.setPointSize(qRound(initial.pointSizeF()));
        return std::optional<QFont>(same);
    };
    dialog.ChooseFont();
    EXPECT_EQ(dialog.Area(), start);
    EXPECT_EQ(dialog.SizeField()->text(), shownBefore);
}

TEST(AreaDlg, ChosenColorsFillTheSwatches) {
    CAreaDlg dialog(AreaPane::Reading, DefaultReadingArea());
    EXPECT_EQ(dialog.TextSwatch()->BackgroundColor(), QColor(234, 226, 81));
    EXPECT_EQ(dialog.BackgroundSwatch()->BackgroundColor(), QColor(0, 0, 0));
    QColor offered;
    dialog.chooseColor = [&](const QColor& initial, QWidget*) {
        offered = initial;
        return std::optional<QColor>(QColor(1, 2, 3));
    };
    dialog.ChooseTextColor();
    EXPECT_EQ(offered, QColor(234, 226, 81));
    EXPECT_EQ(dialog.Area().textColor, 0x00030201u);
    EXPECT_EQ(dialog.TextSwatch()->BackgroundColor(), QColor(1, 2, 3));
    dialog.chooseColor = [](const QColor&, QWidget*) {
        return std::optional<QColor>(QColor(200, 100, 50));
    };
    dialog.ChooseBackgroundColor();
    EXPECT_EQ(dialog.Area().backgroundColor, 0x003264C8u);
    EXPECT_EQ(dialog.BackgroundSwatch()->BackgroundColor(), QColor(200, 100, 50));
}

TEST(AreaDlg, EachPaneHasItsTitleNoteAndDefaults) {
    AreaAppearance odd = DefaultTextArea();
    odd.pointSize = 30;
    odd.font.SetFaceName("Courier New");
    CAreaDlg reading(AreaPane::Reading, odd);
    EXPECT_EQ(reading.windowTitle(), "Настройки. Область чтения");
    EXPECT_FALSE(reading.Note()->isVisibleTo(&reading));
    reading.RestoreDefaults();
    // 70 pixels at the offscreen 96 dpi, as the font dialog shows them.
    ASSERT_EQ(reading.logicalDpiY(), 96);
    EXPECT_EQ(reading.SizeField()->text(), "53");
    EXPECT_EQ(reading.FaceField()->text(), "Arial");

    CAreaDlg text(AreaPane::Text, odd);
    EXPECT_EQ(text.windowTitle(), "Настройки. Область текста");
    EXPECT_TRUE(text.Note()->isVisibleTo(&text));
    EXPECT_EQ(text.Note()->text(), "Шрифт будет применён ко всему тексту!");
    EXPECT_EQ(text.SizeField()->text(), "30");
    EXPECT_EQ(text.FaceField()->text(), "Courier New");
    text.RestoreDefaults();
    EXPECT_EQ(text.SizeField()->text(), "12");
    EXPECT_EQ(text.StyleField()->text(), "Regular");
}

TEST_F(AreaDlgTest, DefaultsThenOkGiveTheTextPane228TwipsOnCream) {
    Start();
    LoadClipboardText("Some text to format");
    Record().textArea.font.SetFaceName("Arial");
    Record().textArea.font.weight = 800;
    Record().textArea.pointSize = 20;
    Record().textArea.backgroundColor = 0x00000080;
    const AreaAppearance before = Record().textArea;

    CAreaDlg dialog(AreaPane::Text, Record().textArea);
    dialog.findChild<QPushButton*>("DefaultsButton")->click();
    EXPECT_EQ(Record().textArea, before);  // the record waits for OK
    dialog.findChild<QPushButton*>("OkButton")->click();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    // What the frame does with OK for the text pane.
    Record().textArea = dialog.Area();
    Frame()->TextCtrl()->ApplyFormatToAll();

    EXPECT_EQ(Record().textArea.font.charSet, 0);
    QTextCursor cursor(Frame()->TextCtrl()->document());
    cursor.setPosition(3);
    const QFont shown = cursor.charFormat().font();
    EXPECT_EQ(qRound(shown.pointSizeF() * 20), 228);
    EXPECT_EQ(shown.family(), "Times New Roman");
    EXPECT_FALSE(shown.bold());
    EXPECT_EQ(Frame()->TextCtrl()->palette().color(QPalette::Base), QColor(252, 254, 228));
}

// The desktop font dialog leaves out its effects; its sample keeps the room
// to show the sample text, and Cancel gives no font.
TEST(AreaDlg, TheDesktopFontDialogShowsItsSampleWithoutEffects) {
    bool sampleSeen = false;
    int effectBoxes = 0;
    ModalAnswer cancel([&](QWidget* modal) {
        for (QLineEdit* edit : modal->findChildren<QLineEdit*>()) {
            if (edit->text() != "AaBbYyZz") continue;
            sampleSeen = true;
            EXPECT_TRUE(edit->isVisible());
            EXPECT_GE(edit->height(), edit->fontMetrics().height());
        }
        for (QGroupBox* box : modal->findChildren<QGroupBox*>()) {
            if (box->findChildren<QCheckBox*>().isEmpty()) continue;
            ++effectBoxes;
            EXPECT_TRUE(box->isHidden());
        }
        for (QCheckBox* effect : modal->findChildren<QCheckBox*>())
            EXPECT_FALSE(effect->isVisible());
        static_cast<QDialog*>(modal)->reject();
    });
    EXPECT_FALSE(CAreaDlg::RunFontDialog(QFont("Liberation Serif", 12), nullptr));
    EXPECT_TRUE(sampleSeen);
    EXPECT_EQ(effectBoxes, 1);
    EXPECT_EQ(cancel.seen, (QStringList{"Шрифт"}));
}

TEST(AreaFormat, ChosenFontsRoundTripThroughTheLogFont) {
    const double dpi = 96;
    const AreaAppearance reading = DefaultReadingArea();
    // Choosing the font the dialog starts from changes nothing.
    const QFont offered = FontForChoosing(reading, AreaPane::Reading, dpi);
    EXPECT_DOUBLE_EQ(offered.pointSizeF(), 52.5);
    EXPECT_EQ(LogFontFromFont(offered, reading.font, dpi), reading.font);

    const AreaAppearance text = DefaultTextArea();
    const QFont textOffered = FontForChoosing(text, AreaPane::Text, dpi);
    EXPECT_EQ(textOffered.pointSize(), 12);
    EXPECT_EQ(TenthsOfPoint(textOffered, dpi), 120);

    // A new face, size and style come back as the dialog gave them.
    QFont chosen("DejaVu Sans Mono");
    chosen.setPointSize(18);
    chosen.setWeight(QFont::Black);
    chosen.setItalic(true);
    const LogFont logFont = LogFontFromFont(chosen, reading.font, dpi);
    EXPECT_EQ(logFont.height, -24);
    EXPECT_EQ(logFont.weight, 900);
    EXPECT_EQ(logFont.italic, 1);
    EXPECT_EQ(logFont.charSet, 204);
    EXPECT_EQ(logFont.pitchAndFamily & 0x03, 1);  // fixed pitch
    const QFont back = FontFromLogFont(logFont);
    EXPECT_EQ(back.family(), "DejaVu Sans Mono");
    EXPECT_EQ(back.pixelSize(), 24);
    EXPECT_EQ(back.weight(), QFont::Black);
    EXPECT_TRUE(back.italic());
    EXPECT_EQ(LogFontFromFont(back, logFont, dpi), logFont);

    // A height of -2^31 from a damaged file is taken as a size, not overflowed.
    LogFont damaged = reading.font;
    damaged.height = INT32_MIN;
    EXPECT_GT(FontFromLogFont(damaged).pixelSize(), 0);
}

}  // namespace
