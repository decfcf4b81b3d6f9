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
// What the source needs a walk through the text for is prepared first, a
// slice at a time between other events, while the pane shows what it showed.
class CEstimatePane : public QLabel {
    Q_OBJECT

public:
    using Source = std::function<std::optional<ReadingEstimate>()>;
    // Takes a slice of the walk; true when the source can answer at once.
    using Prepare = std::function<bool()>;
    // Takes its place at the right of the status bar.
    CEstimatePane(QStatusBar* bar, Source source, Prepare prepare = {});

    void Refresh();
    void SetLive(bool live);
    // A group is shown for `periodMs`: a refresh due within that time is
    // made now, so that it is painted with the group rather than alone.
    void GroupShown(int periodMs);

private:
    void ShowText(const QString& text);

    Source source_;
    Prepare prepare_;
    QTimer tick_;
    QTimer nextSlice_;
};
