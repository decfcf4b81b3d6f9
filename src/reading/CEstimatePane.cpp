#include "reading/CEstimatePane.h"

#include <QStatusBar>

#include "base/QtText.h"

namespace {

constexpr int kRefreshMs = 1000;

}  // namespace

CEstimatePane::CEstimatePane(QStatusBar* bar, Source source)
    : QLabel(bar), source_(std::move(source)) {
    setObjectName("EstimateStatus");
    bar->addWidget(this);
    tick_.setInterval(kRefreshMs);
    connect(&tick_, &QTimer::timeout, this, &CEstimatePane::Refresh);
}

void CEstimatePane::Refresh() {
    const std::optional<ReadingEstimate> estimate = source_();
    setText(estimate ? ProgramText(EstimateText(*estimate)) : QString());
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
