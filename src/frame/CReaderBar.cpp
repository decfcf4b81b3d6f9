#include "frame/CReaderBar.h"

#include <algorithm>

#include <QAction>
#include <QProgressBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "frame/CColorStatic.h"
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
                display_->SetBkColour(kGreen);
                addWidget(display_);
                break;
            }
            case BarEntry::SpeedSpin: addWidget(CreateSpin()); break;
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
    level_ = ClampSpeedLevel(speedLevel);
    display_->setNum(level_);
}

QWidget* CReaderBar::CreateSpin() {
    auto* spin = new QWidget(this);
    spin->setFixedSize(20, 30);
    auto* layout = new QVBoxLayout(spin);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const auto makeArrow = [&](Qt::ArrowType type, int step) {
        auto* arrow = new QToolButton(spin);
        arrow->setArrowType(type);
        arrow->setAutoRepeat(true);
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setFixedSize(20, 15);
        connect(arrow, &QToolButton::clicked, this, [this, step] { SetSpeedLevel(level_ + step); });
        layout->addWidget(arrow);
        return arrow;
    };
    up_ = makeArrow(Qt::UpArrow, +1);
    down_ = makeArrow(Qt::DownArrow, -1);
    return spin;
}

void CReaderBar::SetSpeedLevel(int level) {
    const int clamped = ClampSpeedLevel(level);
    if (clamped == level_) return;
    level_ = clamped;
    display_->setNum(level_);
    emit SpeedLevelChanged(level_);
}

void CReaderBar::ResetProgress() { progress_->reset(); }

void CReaderBar::StepProgress() { progress_->setValue(std::min(Progress() + 1, kProgressSteps)); }

void CReaderBar::FillProgress() { progress_->setValue(kProgressSteps); }

int CReaderBar::Progress() const {
    const int value = progress_->value();
    return value < progress_->minimum() ? 0 : value;
}
