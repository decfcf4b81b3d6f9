#include "frame/CReaderBar.h"

#include <algorithm>

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QToolButton>

#include "widgets/CColorStatic.h"
#include "widgets/CUpDownCtrl.h"
#include "frame/CommandRules.h"
#include "frame/CommandTable.h"

namespace {

constexpr std::uint32_t kGreen = 0x0000FF00;

}  // namespace

CReaderBar::CReaderBar(QWidget* parent, const std::map<CommandId, QAction*>& actions,
                       int speedLevel)
    : QToolBar(parent) {
    setObjectName("ReaderBar");
    setWindowTitle("Lumeno. Control Bar");
    setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    setMovable(true);
    setFloatable(true);
    setIconSize(QSize(25, 25));
    setToolButtonStyle(Qt::ToolButtonIconOnly);

    // A floating bar has no frame of the window manager's: it shows its
    // caption itself, ahead of the buttons, in the colours of a title bar.
    auto* caption = new QLabel(windowTitle(), this);
    caption->setObjectName("FloatingCaption");
    caption->setStyleSheet(
        "QLabel { background: palette(highlight); color: palette(highlighted-text); "
        "padding: 0 6px; }");
    QAction* captionEntry = addWidget(caption);
    captionEntry->setVisible(false);
    connect(this, &QToolBar::topLevelChanged, captionEntry, &QAction::setVisible);

    for (const BarSlot& slot : BarLayout()) {
        switch (slot.entry) {
            case BarEntry::Button:
                addAction(actions.at(slot.command));
                break;
            case BarEntry::Separator:
                addSeparator();
                break;
            case BarEntry::SpeedDisplay: {
                display_ = new CColorStatic(this);
                display_->setObjectName("SpeedDisplay");
                QFont font("Arial");
                font.setPixelSize(28);
                font.setWeight(QFont::ExtraBold);
                display_->setFont(font);
                display_->setAlignment(Qt::AlignCenter);
                display_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
                display_->setFixedSize(50, 30);
                display_->SetBkColour(kGreen);
                addWidget(display_);
                break;
            }
            case BarEntry::SpeedSpin:
                spin_ = new CUpDownCtrl(this);
                spin_->setFixedSize(20, 30);
                addWidget(spin_);
                break;
            case BarEntry::Progress:
                progress_ = new QProgressBar(this);
                progress_->setObjectName("ReadingProgress");
                progress_->setRange(1, kProgressSteps);
                progress_->setTextVisible(false);
                progress_->setFixedSize(150, 24);
                progress_->reset();
                addWidget(progress_);
                break;
        }
    }
    spin_->SetBuddy(display_);
    spin_->SetRange(1, 50);
    spin_->SetPos(ClampSpeedLevel(speedLevel));
    connect(spin_, &CUpDownCtrl::PositionChanged, this, &CReaderBar::SpeedLevelChanged);
}

int CReaderBar::SpeedLevel() const { return spin_->Pos(); }

void CReaderBar::SetSpeedLevel(int level) { spin_->SetPos(ClampSpeedLevel(level)); }

QToolButton* CReaderBar::UpArrow() const { return spin_->UpArrow(); }
QToolButton* CReaderBar::DownArrow() const { return spin_->DownArrow(); }

void CReaderBar::ResetProgress() { progress_->reset(); }

void CReaderBar::StepProgress() { progress_->setValue(std::min(Progress() + 1, kProgressSteps)); }

void CReaderBar::FillProgress() { progress_->setValue(kProgressSteps); }

int CReaderBar::Progress() const {
    const int value = progress_->value();
    return value < progress_->minimum() ? 0 : value;
}
