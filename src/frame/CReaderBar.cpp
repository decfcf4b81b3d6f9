#include "frame/CReaderBar.h"

#include <algorithm>

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QToolButton>

#include "frame/CommandRules.h"
#include "frame/CommandTable.h"
#include "reading/ReadingIntervals.h"
#include "settings/ReaderSettings.h"
#include "widgets/CColorStatic.h"
#include "widgets/CUpDownCtrl.h"

namespace {

constexpr std::uint32_t kGreen = 0x0000FF00;
// The bar's dock side, as the settings file keeps it.
constexpr std::int32_t kBarAlignTop = 0x2000;
constexpr std::int32_t kBarAlignBottom = 0x8000;
// Flag of the saved bar placement: the bar was floating.
constexpr std::uint32_t kBarFloating = 1;

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
            case BarEntry::Button: addAction(actions.at(slot.command)); break;
            case BarEntry::Separator: addSeparator(); break;
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
                display_->SetBkColor(kGreen);
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
    spin_->SetRange(kMinSpeedLevel, kMaxSpeedLevel);
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

void CReaderBar::SetProgress(int position) {
    if (position <= 0) {
        ResetProgress();
    } else {
        progress_->setValue(std::min(position, kProgressSteps));
    }
}

int CReaderBar::Progress() const {
    const int value = progress_->value();
    return value < progress_->minimum() ? 0 : value;
}

void CReaderBar::ApplyProgress(ProgressAction action) {
    switch (action) {
        case ProgressAction::None: break;
        case ProgressAction::Reset: ResetProgress(); break;
        case ProgressAction::AdvanceOne: StepProgress(); break;
        case ProgressAction::SetFull: FillProgress(); break;
    }
}

Qt::ToolBarArea CReaderBar::DockArea(const ReaderSettings& settings) {
    const bool bottom =
        settings.controlBarPlacementValid != 0 && (settings.controlBarStyle & kBarAlignBottom);
    return bottom ? Qt::BottomToolBarArea : Qt::TopToolBarArea;
}

void CReaderBar::StorePlacement(Qt::ToolBarArea area, ReaderSettings& settings) const {
    WindowPlacement placement;
    placement.length = WindowPlacement::kSize;
    placement.showCmd = WindowPlacement::kShowNormal;
    const bool floating = isFloating();
    placement.flags = floating ? kBarFloating : 0;
    const QRect rect = floating ? frameGeometry() : geometry();
    placement.normalLeft = rect.left();
    placement.normalTop = rect.top();
    placement.normalRight = rect.left() + rect.width();
    placement.normalBottom = rect.top() + rect.height();
    settings.controlBarPlacement = placement;
    settings.controlBarStyle = area == Qt::BottomToolBarArea ? kBarAlignBottom : kBarAlignTop;
    settings.controlBarPlacementValid = 1;
}
