#include "settings/CAreaDlg.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "base/CodePage.h"
#include "base/QtText.h"
#include "settings/AreaFormat.h"
#include "widgets/CColorStatic.h"
#include "widgets/DialogButtons.h"
#include "widgets/DialogUnits.h"

CAreaDlg::CAreaDlg(AreaPane pane, const AreaAppearance& area, QWidget* parent)
    : QDialog(parent),
      chooseFont(&CAreaDlg::RunFontDialog),
      chooseColor(&CAreaDlg::RunColorDialog),
      pane_(pane),
      area_(area) {
    setObjectName("AreaDialog");
    switch (pane_) {
        case AreaPane::Reading: setWindowTitle(ProgramText("Настройки. Область чтения")); break;
        case AreaPane::Text: setWindowTitle(ProgramText("Настройки. Область текста")); break;
    }
    const DialogUnits units(font());
    const auto label = [&](std::string_view text, int left, int top, int width) {
        auto* control = new QLabel(ProgramText(text), this);
        control->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        units.Place(control, left, top, width, 12);
    };
    const auto field = [&](const char* name, int top) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setReadOnly(true);
        units.Place(edit, 76, top, 74, 12);
        return edit;
    };
    const auto swatch = [&](const char* name, int top) {
        auto* color = new CColorStatic(this);
        color->setObjectName(name);
        color->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        units.Place(color, 76, top, 61, 16);
        return color;
    };
    const auto chooser = [&](const char* name, const char* icon, std::string_view tip, int top) {
        auto* button = new QPushButton(this);
        button->setObjectName(name);
        button->setIcon(QIcon(icon));
        button->setToolTip(ProgramText(tip));
        button->setAutoDefault(false);
        units.Place(button, 156, top, 16, 16);
        button->setIconSize(button->size() - QSize(8, 8));
        return button;
    };

    units.Place(new QGroupBox(ProgramText(" Шрифт "), this), 3, 6, 181, 97);
    label("Название: ", 17, 23, 55);
    face_ = field("FaceName", 23);
    label("Размер: ", 17, 39, 55);
    size_ = field("PointSize", 39);
    label("Стиль: ", 17, 55, 55);
    style_ = field("StyleName", 55);
    QPushButton* fontButton = chooser("ChooseFont", ":/icons/choose-font.svg", "Шрифт", 35);
    label("Цвет: ", 17, 71, 55);
    textSwatch_ = swatch("TextColour", 68);
    QPushButton* textButton = chooser("ChooseTextColour", ":/icons/choose-colour.svg", "Цвет", 68);
    note_ = new QLabel(ProgramText("Шрифт будет применён ко всему тексту!"), this);
    note_->setObjectName("Note");
    note_->setAlignment(Qt::AlignCenter);
    units.Place(note_, 6, 87, 176, 13);
    note_->setVisible(pane_ == AreaPane::Text);

    label("Цвет фона:", 3, 119, 69);
    backgroundSwatch_ = swatch("BackgroundColour", 116);
    QPushButton* backgroundButton =
        chooser("ChooseBackgroundColour", ":/icons/choose-colour.svg", "Цвет фона", 116);

    QPushButton* defaults = AddDefaultsButton(*this, units, 146);
    QPushButton* ok = AddDialogButtons(*this, units, 101, 144, 146).accept;

    connect(fontButton, &QPushButton::clicked, this, &CAreaDlg::ChooseFont);
    connect(textButton, &QPushButton::clicked, this, &CAreaDlg::ChooseTextColor);
    connect(backgroundButton, &QPushButton::clicked, this, &CAreaDlg::ChooseBackgroundColor);
    connect(defaults, &QPushButton::clicked, this, &CAreaDlg::RestoreDefaults);

    setFixedSize(units.Size(187, 163));
    Refresh();
    ok->setFocus();
}

void CAreaDlg::Refresh() {
    face_->setText(ToQString(Cp1251ToUnicode(area_.font.FaceName())));
    size_->setText(QString::number(ShownPointSize(area_, pane_, logicalDpiY())));
    style_->setText(ProgramText(area_.StyleName()));
    textSwatch_->SetBkColor(area_.textColor);
    backgroundSwatch_->SetBkColor(area_.backgroundColor);
}

void CAreaDlg::ChooseFont() {
    const double dotsPerInch = logicalDpiY();
    QFont initial = FontForChoosing(area_, pane_, dotsPerInch);
    // The dialog lists only the families that exist. A stored face that is
    // missing (Arial, Times New Roman) starts as the family that stands in
    // for it on the pane, and keeps its stored name while the user keeps
    // that family.
    const QString stored = initial.family();
    const QFontInfo drawn(initial);
    const QString shown = drawn.family();
    initial.setFamily(shown);
    // By the name the family gives its style ("Regular", not Qt's "Normal"),
    // or the dialog picks the family's first style.
    initial.setStyleName(drawn.styleName());
    std::optional<QFont> chosen = chooseFont(initial, this);
    if (!chosen || !ChoiceChangesFont(*chosen, initial)) return;
    if (chosen->family() == shown) chosen->setFamily(stored);
    ApplyChosenFont(area_, LogFontFromFont(*chosen, area_.font, dotsPerInch),
                    TenthsOfPoint(*chosen, dotsPerInch));
    Refresh();
}

void CAreaDlg::ChooseTextColor() {
    if (const auto color = chooseColor(ColorFromColorRef(area_.textColor), this)) {
        area_.textColor = ColorRefFromColor(*color);
        textSwatch_->SetBkColor(area_.textColor);
    }
}

void CAreaDlg::ChooseBackgroundColor() {
    if (const auto color = chooseColor(ColorFromColorRef(area_.backgroundColor), this)) {
        area_.backgroundColor = ColorRefFromColor(*color);
        backgroundSwatch_->SetBkColor(area_.backgroundColor);
    }
}

void CAreaDlg::RestoreDefaults() {
    area_ = AreaDefaults(pane_);
    Refresh();
}

std::optional<QFont> CAreaDlg::RunFontDialog(const QFont& initial, QWidget* parent) {
    QFontDialog dialog(initial, parent);
    dialog.setWindowTitle(ProgramText("Шрифт"));
    // Qt's own dialog, so that its effects section (underline, strike-out)
    // can be left out: the panes have no use for them.
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    for (QGroupBox* box : dialog.findChildren<QGroupBox*>()) {
        if (!box->findChildren<QCheckBox*>().isEmpty()) {
            box->hide();
        } else {
            // The sample shared its rows with the effects; alone it would be
            // squeezed to its frame, its text out of sight.
            for (QLineEdit* sample : box->findChildren<QLineEdit*>()) {
                sample->setMinimumHeight(sample->sizeHint().height());
            }
        }
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.selectedFont();
}

std::optional<QColor> CAreaDlg::RunColorDialog(const QColor& initial, QWidget* parent) {
    const QColor color = QColorDialog::getColor(initial, parent, ProgramText("Цвет"));
    if (!color.isValid()) return std::nullopt;
    return color;
}
