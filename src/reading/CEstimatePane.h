#pragma once

#include <QLabel>
#include <QTimer>
#include <functional>
#include <optional>

class QStatusBar;

#include "reading/ReadingEstimate.h"

// The status bar's second pane: the task's rate and the time left, or
// nothing without a task. It asks its source whenever it is told that
// something changed, and every second while it is live (while reading runs).
class CEstimatePane : public QLabel {
    Q_OBJECT

public:
    using Source = std::function<std::optional<ReadingEstimate>()>;
    // Takes its place at the right of the status bar.
    CEstimatePane(QStatusBar* bar, Source source);

    void Refresh();
    void SetLive(bool live);

private:
    Source source_;
    QTimer tick_;
};
