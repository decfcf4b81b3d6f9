#include "reading/CEstimatePane.h"

#include <QStatusBar>

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
    setText(estimate ? EstimateText(*estimate) : QString());
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
