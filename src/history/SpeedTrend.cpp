#include "history/SpeedTrend.h"

#include <algorithm>

std::optional<TrendLine> SpeedTrend(const std::vector<RunSpeed>& speeds) {
    if (speeds.size() < 2) return std::nullopt;
    const auto [first, last] = std::minmax_element(
        speeds.begin(), speeds.end(),
        [](const RunSpeed& a, const RunSpeed& b) { return a.startMs < b.startMs; });
    // Times from the first start, so that the squares stay well within a
    // double's precision.
    const std::int64_t originMs = first->startMs;
    const double count = static_cast<double>(speeds.size());
    double sumX = 0, sumY = 0;
    for (const RunSpeed& speed : speeds) {
        sumX += static_cast<double>(speed.startMs - originMs);
        sumY += speed.wordsPerMinute;
    }
    const double meanX = sumX / count, meanY = sumY / count;
    double covariance = 0, variance = 0;
    for (const RunSpeed& speed : speeds) {
        const double dx = static_cast<double>(speed.startMs - originMs) - meanX;
        covariance += dx * (speed.wordsPerMinute - meanY);
        variance += dx * dx;
    }
    const double slope = variance > 0 ? covariance / variance : 0;
    const auto at = [&](std::int64_t ms) {
        return meanY + slope * (static_cast<double>(ms - originMs) - meanX);
    };
    return TrendLine{first->startMs, at(first->startMs), last->startMs, at(last->startMs)};
}
