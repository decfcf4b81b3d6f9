#pragma once

#include <cstdint>

#include "settings/ReaderSettings.h"

// The preferences a reading run depends on. The speed level is the control
// bar's, which the settings record only holds between runs of the program.
struct ReadingOptions {
    std::int32_t speedLevel = kDefaultSpeedLevel;
    std::int32_t commaDelayLevel = kDefaultCommaDelayLevel;
    std::int32_t stopDelayLevel = kDefaultStopDelayLevel;
    std::int32_t severalWords = 0;
    std::int32_t thresholdChars = kDefaultThresholdChars;

    bool SeveralWords() const { return IsSeveralWords(severalWords); }
};

ReadingOptions ReadingOptionsFrom(const ReaderSettings& settings, std::int32_t speedLevel);
