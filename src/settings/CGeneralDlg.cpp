#include "settings/CGeneralDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "base/QtText.h"
#include "settings/AreaFormat.h"
#include "settings/ReaderSettings.h"
#include "widgets/CColorStatic.h"
#include "widgets/CUpDownCtrl.h"
#include "widgets/DialogButtons.h"
#include "widgets/DialogUnits.h"

namespace {

constexpr std::uint32_t kWhite = 0x00FFFFFF;
// Dialog units added for the focus letter's row.
constexpr int kFocusRow = 16;

}  // namespace

CGeneralDlg::CGeneralDlg(ReaderSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setObjectName("GeneralSettingsDialog");
    setWindowTitle(ProgramText("Настройки. Общие"));
    const DialogUnits units(font());
    const auto label = [&](std::string_view text, int left, int top, int width, int height) {
        auto* control = new QLabel(ProgramText(text), this);
        control->setWordWrap(height > 12);
        units.Place(control, left, top, width, height);
        return control;
    };
    const auto radio = [&](std::string_view text, QButtonGroup* group, int id, int top, int width) {
        auto* button = new QRadioButton(ProgramText(text), this);
        group->addButton(button, id);
        units.Place(button, 40, top, width, 9);
        return button;
    };

    // The reading group has one row more than it always had, for the focus
    // letter; everything below it sits that much lower.
    units.Place(new QGroupBox(ProgramText(" Чтение "), this), 3, 2, 228, 109 + kFocusRow);
    units.Place(new QGroupBox(ProgramText(" При запуске программы ... "), this), 3, 115 + kFocusRow,
                228, 50);

    CColorStatic* display = nullptr;
    commaArrows_ = AddNumber(15, 16, 9, 0, 7, settings_.commaDelayLevel, &display);
    label("Дополнительная задержка после запятой", 49, 17, 163, 10);
    stopArrows_ = AddNumber(15, 35, 9, 0, 7, settings_.stopDelayLevel, &display);
    label("Дополнительная задержка после точки", 49, 35, 160, 10);

    // Reading takes only 1 as several words at a time, so the buttons show
    // any other stored value as one word, and likewise show an unknown
    // start-up action as doing nothing.
    mode_ = new QButtonGroup(this);
    oneWord_ = radio("Читать по одному слову", mode_, 0, 57, 116);
    severalWords_ = radio("Читать по нескольку слов", mode_, 1, 71, 116);
    (IsSeveralWords(settings_.severalWords) ? severalWords_ : oneWord_)->setChecked(true);
    connect(oneWord_, &QRadioButton::clicked, this, [this] { EnableThreshold(false); });
    connect(severalWords_, &QRadioButton::clicked, this, [this] { EnableThreshold(true); });

    thresholdArrows_ = AddNumber(15, 89, 9, 5, 20, settings_.thresholdChars, &thresholdDisplay_);
    label("Пороговое число символов", 49, 88, 67, 18);
    clickArrows_ = AddNumber(126, 89, 10, 1, 5, settings_.clickStep, &display);
    label("Изменение скорости чтения при клике мышкой", 160, 83, 67, 25);

    focusLetter_ = new QCheckBox(ProgramText("Выделять опорную букву"), this);
    focusLetter_->setChecked(settings_.extras.focusLetter);
    units.Place(focusLetter_, 15, 109, 130, 10);
    focusColor_ = new QPushButton(ProgramText("Цвет буквы..."), this);
    focusColor_->setObjectName("FocusLetterColour");
    units.Place(focusColor_, 160, 109, 60, 13);
    chosenColor_ = settings_.extras.focusLetterColor;
    ShowFocusColor();
    connect(focusColor_, &QPushButton::clicked, this, &CGeneralDlg::ChooseFocusColor);
    EnableThreshold(IsSeveralWords(settings_.severalWords));

    startup_ = new QButtonGroup(this);
    radio("ничего не делать", startup_, 0, 128 + kFocusRow, 168);
    radio("загружать содержимое клипборда", startup_, 1, 139 + kFocusRow, 169);
    radio("показывать содержимое полки", startup_, 2, 150 + kFocusRow, 169);
    StartupButton(static_cast<int>(StartupActionOf(settings_.startupAction)))->setChecked(true);

    connect(AddDefaultsButton(*this, units, 169 + kFocusRow), &QPushButton::clicked, this,
            &CGeneralDlg::RestoreDefaults);
    QPushButton* ok = AddDialogButtons(*this, units, 148, 191, 169 + kFocusRow).accept;

    setFixedSize(units.Size(233, 186 + kFocusRow));
    ok->setFocus();
}

// A white number display with its arrows to the right of it.
CUpDownCtrl* CGeneralDlg::AddNumber(int left, int top, int arrowsWidth, int lower, int upper,
                                    std::int32_t value, CColorStatic** display) {
    const DialogUnits units(font());
    *display = new CColorStatic(this);
    (*display)->setAlignment(Qt::AlignCenter);
    (*display)->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    (*display)->SetBkColor(kWhite);
    QPalette colors = (*display)->palette();
    colors.setColor(QPalette::Disabled, QPalette::WindowText, Qt::gray);
    (*display)->setPalette(colors);
    units.Place(*display, left, top, 20, 12);

    auto* arrows = new CUpDownCtrl(this);
    arrows->SetRange(lower, upper);
    arrows->SetBuddy(*display);
    arrows->SetPos(value);
    units.Place(arrows, left + 20, top - 2, arrowsWidth, 17);
    return arrows;
}

QRadioButton* CGeneralDlg::StartupButton(int index) const {
    return static_cast<QRadioButton*>(startup_->button(index));
}

void CGeneralDlg::EnableThreshold(bool enabled) {
    thresholdDisplay_->setEnabled(enabled);
    thresholdArrows_->setEnabled(enabled);
    // The focus letter is for one word at a time only.
    focusLetter_->setEnabled(!enabled);
    focusColor_->setEnabled(!enabled);
}

void CGeneralDlg::ChooseFocusColor() {
    const QColor chosen = QColorDialog::getColor(ColorFromColorRef(chosenColor_), this, {},
                                                 QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid()) return;
    chosenColor_ = ColorRefFromColor(chosen);
    ShowFocusColor();
}

void CGeneralDlg::ShowFocusColor() {
    QPixmap swatch(12, 12);
    swatch.fill(ColorFromColorRef(chosenColor_));
    focusColor_->setIcon(QIcon(swatch));
}

void CGeneralDlg::RestoreDefaults() {
    commaArrows_->SetPos(kDefaultCommaDelayLevel);
    stopArrows_->SetPos(kDefaultStopDelayLevel);
    thresholdArrows_->SetPos(kDefaultThresholdChars);
    clickArrows_->SetPos(kDefaultClickStep);
    defaultsPressed_ = true;
    settings_.startupAction = 0;
    settings_.severalWords = 0;
    settings_.commaDelayLevel = kDefaultCommaDelayLevel;
    settings_.stopDelayLevel = kDefaultStopDelayLevel;
    settings_.thresholdChars = kDefaultThresholdChars;
    settings_.clickStep = kDefaultClickStep;
    settings_.extras = ReaderExtras{};
    focusLetter_->setChecked(false);
    chosenColor_ = settings_.extras.focusLetterColor;
    ShowFocusColor();
    EnableThreshold(false);
    oneWord_->setChecked(true);
    StartupButton(0)->setChecked(true);
}

void CGeneralDlg::accept() {
    settings_.commaDelayLevel = commaArrows_->Pos();
    settings_.stopDelayLevel = stopArrows_->Pos();
    settings_.thresholdChars = thresholdArrows_->Pos();
    settings_.startupAction = startup_->checkedId();
    settings_.severalWords = mode_->checkedId();
    settings_.clickStep = clickArrows_->Pos();
    settings_.extras.focusLetter = focusLetter_->isChecked();
    settings_.extras.focusLetterColor = chosenColor_;
    QDialog::accept();
}
