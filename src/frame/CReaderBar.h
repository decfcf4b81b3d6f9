#pragma once

#include <QToolBar>
#include <map>

#include "frame/CommandId.h"
#include "reading/GroupCutter.h"

class CColorStatic;
class CUpDownCtrl;
class QAction;
class QProgressBar;
class QToolButton;
struct ReaderSettings;

// The dockable control bar: the command buttons, the speed display with its
// up-down arrows, and the reading progress. The arrows' level is the
// program's one store of the reading speed while it runs.
class CReaderBar : public QToolBar {
    Q_OBJECT

public:
    CReaderBar(QWidget* parent, const std::map<CommandId, QAction*>& actions, int speedLevel);

    int SpeedLevel() const;
    // Sets the level as the up-down control would: kept within 1..50.
    void SetSpeedLevel(int level);
    void SpeedUp(int steps) { SetSpeedLevel(SpeedLevel() + steps); }
    void SpeedDown(int steps) { SetSpeedLevel(SpeedLevel() - steps); }

    // The progress bar: empty, one fortieth more, or full.
    void ResetProgress();
    void StepProgress();
    void FillProgress();
    void ApplyProgress(ProgressAction action);
    // 0 when empty, else 1..40.
    int Progress() const;

    CColorStatic* SpeedDisplay() const { return display_; }
    QToolButton* UpArrow() const;
    QToolButton* DownArrow() const;

    // Where the settings put the bar: the bottom only when a placement was
    // stored and it says so.
    static Qt::ToolBarArea DockArea(const ReaderSettings& settings);
    // Stores the bar's dock side, floating state and rectangle.
    void StorePlacement(Qt::ToolBarArea area, ReaderSettings& settings) const;

signals:
    void SpeedLevelChanged(int level);

private:
    CColorStatic* display_ = nullptr;
    CUpDownCtrl* spin_ = nullptr;
    QProgressBar* progress_ = nullptr;
};
