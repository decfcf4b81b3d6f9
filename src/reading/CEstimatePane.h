#pragma once

#include <QLabel>
#include <QTimer>
#include <functional>
#include <optional>

class QStatusBar;

#include "reading/ReadingEstimate.h"

// A length of time: in seconds under a minute, else in minutes, rounded, and
// from an hour on in hours and minutes.
QString TimeText(std::int64_t ms);

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
