#include "reading/ReadingIntervals.h"

#include <algorithm>

std::int32_t BaseInterval(std::int32_t speedLevel) {
    const std::int32_t s = std::clamp(speedLevel, kMinSpeedLevel, kMaxSpeedLevel);
    return s > 25 ? 350 - 6 * s : 1000 - 32 * s;
}

std::int32_t DelayForLevel(std::int32_t base, std::int32_t delayLevel) {
    switch (delayLevel) {
        case 1: return 3 * base / 2;
        case 2: return 7 * base / 4;
        case 3: return 2 * base;
        case 4: return 5 * base / 2;
        case 5: return 3 * base;
        case 6: return 7 * base / 2;
        case 7: return 4 * base;
        default: return base;  // level 0 and any stray value from the settings file
    }
}

ReadingIntervals ComputeIntervals(const ReadingOptions& options) {
    const std::int32_t base = BaseInterval(options.speedLevel);
    return {base, DelayForLevel(base, options.commaDelayLevel),
            DelayForLevel(base, options.stopDelayLevel)};
}

std::int32_t ShortGroupLimit(const ReadingOptions& options) {
    return options.SeveralWords() ? options.thresholdChars / 4 * 3 : 6;
}

std::int32_t GroupInterval(StepKind kind, std::size_t groupLength,
                           const ReadingIntervals& intervals, std::int32_t shortGroupLimit) {
    std::int32_t interval = 0;
    switch (kind) {
        case StepKind::StepAborted:
        case StepKind::StepEnd: return 0;
        case StepKind::StepPlain: interval = intervals.base; break;
        case StepKind::StepComma: interval = intervals.comma; break;
        case StepKind::StepStop: interval = intervals.stop; break;
    }
    if (shortGroupLimit > 0 && groupLength < static_cast<std::size_t>(shortGroupLimit)) {
        interval = interval / 3 * 2;
    }
    return interval;
}
