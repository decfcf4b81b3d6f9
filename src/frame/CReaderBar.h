#pragma once

#include <QToolBar>
#include <map>

#include "frame/CommandId.h"

class CColorStatic;
class QAction;
class QProgressBar;
class QToolButton;

// The dockable control bar: the command buttons, the speed display with its
// up-down arrows, and the reading progress. The arrows' level is the
// program's one store of the reading speed while it runs.
class CReaderBar : public QToolBar {
    Q_OBJECT

public:
    static constexpr int kProgressSteps = 40;

    CReaderBar(QWidget* parent, const std::map<CommandId, QAction*>& actions, int speedLevel);

    int SpeedLevel() const { return level_; }
    // Sets the level as the up-down control would: kept within 1..50.
    void SetSpeedLevel(int level);
    void SpeedUp(int steps) { SetSpeedLevel(level_ + steps); }
    void SpeedDown(int steps) { SetSpeedLevel(level_ - steps); }

    // The progress bar: empty, one fortieth more, or full.
    void ResetProgress();
    void StepProgress();
    void FillProgress();
    // 0 when empty, else 1..40.
    int Progress() const;

    CColorStatic* SpeedDisplay() const { return display_; }
    QToolButton* UpArrow() const { return up_; }
    QToolButton* DownArrow() const { return down_; }

signals:
    void SpeedLevelChanged(int level);

private:
    QWidget* CreateSpin();

    int level_ = 25;
    CColorStatic* display_ = nullptr;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
    QProgressBar* progress_ = nullptr;
};
