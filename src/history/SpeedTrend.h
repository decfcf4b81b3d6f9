#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "history/HistoryStore.h"

// Where the speed is heading: the least-squares line through the runs'
// speeds over their start times, given by its ends at the first and the last
// start.
struct TrendLine {
    std::int64_t fromMs = 0;
    double fromWordsPerMinute = 0;
    std::int64_t toMs = 0;
    double toWordsPerMinute = 0;
    bool operator==(const TrendLine&) const = default;
};

// None for fewer than two runs; a flat line at the mean when every run
// started at the same moment.
std::optional<TrendLine> SpeedTrend(const std::vector<RunSpeed>& speeds);
