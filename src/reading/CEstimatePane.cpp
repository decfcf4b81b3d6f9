#include "reading/CEstimatePane.h"

#include <QStatusBar>
#include <algorithm>

#include "base/ProgramTexts.h"
#include "base/QtText.h"
#include "base/TimeText.h"

namespace {

constexpr int kRefreshMs = 1000;

// "≈ N слов/мин · осталось M мин": the time left in minutes, rounded, or
// under a minute in seconds; with the chapter's time left when there is one.
QString EstimateText(const ReadingEstimate& estimate) {
    const QString rate = QString::number(estimate.WordsPerMinute());
    if (estimate.chapterLeftMs) {
        return ProgramText(kEstimateChapterStatus)
            .arg(rate, TimeText(*estimate.chapterLeftMs), TimeText(estimate.leftMs));
    }
    const std::int64_t seconds = estimate.SecondsLeft();
    if (seconds < 60) {
        return ProgramText(kEstimateSecondsStatus).arg(rate, QString::number(seconds));
    }
    return ProgramText(kEstimateMinutesStatus).arg(rate, QString::number((seconds + 30) / 60));
}

}  // namespace

CEstimatePane::CEstimatePane(QStatusBar* bar, Source source, Prepare prepare)
    : QLabel(bar), source_(std::move(source)), prepare_(std::move(prepare)) {
    setObjectName("EstimateStatus");
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bar->addWidget(this);
    tick_.setInterval(kRefreshMs);
    connect(&tick_, &QTimer::timeout, this, &CEstimatePane::Refresh);
    nextSlice_.setSingleShot(true);
    nextSlice_.setInterval(0);
    connect(&nextSlice_, &QTimer::timeout, this, &CEstimatePane::Refresh);
}

void CEstimatePane::Refresh() {
    if (prepare_ && !prepare_()) {
        nextSlice_.start();
        return;
    }
    const std::optional<ReadingEstimate> estimate = source_();
    ShowText(estimate ? EstimateText(*estimate) : QString());
}

// The status bar repaints all of itself whenever it lays itself out anew,
// which a label's new text asks for unless the label's size is fixed. The
// pane has a fixed size that grows when a text needs more room, and while
// reading never shrinks: then the time left, counting down each second,
// changes only its own pixels.
void CEstimatePane::ShowText(const QString& text) {
    setText(text);
    // A label's own size hint is never below its minimum size.
    const QMargins frame = contentsMargins() + QMargins(margin(), margin(), margin(), margin());
    const QFontMetrics metrics = fontMetrics();
    const int wanted = metrics.horizontalAdvance(text) + frame.left() + frame.right();
    const QSize size(tick_.isActive() ? std::max(wanted, minimumWidth()) : wanted,
                     metrics.height() + frame.top() + frame.bottom());
    if (size != minimumSize() || size != maximumSize()) setFixedSize(size);
}

void CEstimatePane::SetLive(bool live) {
    if (live == tick_.isActive()) return;
    if (live) {
        tick_.start();
    } else {
        tick_.stop();
    }
    Refresh();
}

void CEstimatePane::GroupShown(int periodMs) {
    if (!tick_.isActive() || tick_.remainingTime() > periodMs) return;
    tick_.start();
    Refresh();
}
