#pragma once

#include <cstdint>

struct ReaderSettings;

// The preferences a reading run depends on. The speed level is the control
// bar's, which the settings record only holds between runs of the program.
struct ReadingOptions {
    std::int32_t speedLevel = 25;
    std::int32_t commaDelayLevel = 3;
    std::int32_t stopDelayLevel = 5;
    std::int32_t severalWords = 0;  // 1: several words at a time; any other value: one word
    std::int32_t thresholdChars = 10;

    bool SeveralWords() const { return severalWords == 1; }
};

ReadingOptions ReadingOptionsFrom(const ReaderSettings& settings, std::int32_t speedLevel);
