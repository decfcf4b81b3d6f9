#pragma once

#include <cstddef>
#include <cstdint>

#include "reading/ReadingOptions.h"
#include "reading/ReadingTask.h"

// How long each kind of group stays on screen, in milliseconds.
struct ReadingIntervals {
    std::int32_t base = 0;
    std::int32_t comma = 0;
    std::int32_t stop = 0;

    bool operator==(const ReadingIntervals&) const = default;
};

constexpr std::int32_t kMinSpeedLevel = 1;
constexpr std::int32_t kMaxSpeedLevel = 50;

// 1000 - 32 s up to level 25, 350 - 6 s above it: 968 ms at 1, 200 at 25,
// 50 at 50. A level outside 1..50 counts as the nearest limit.
std::int32_t BaseInterval(std::int32_t speedLevel);
// The extra delay levels 0..7 stretch the base interval from 1 to 4 times;
// any other level leaves it as it is.
std::int32_t DelayForLevel(std::int32_t base, std::int32_t delayLevel);
ReadingIntervals ComputeIntervals(const ReadingOptions& options);

// A group with fewer characters than this, shown after a group of another
// kind, gets two thirds of its interval: 6 for one word at a time, three
// quarters of the threshold (in whole quarters) for several words.
std::int32_t ShortGroupLimit(const ReadingOptions& options);

// The interval the rules give a group of this kind and length; 0 for the two
// kinds that show nothing.
std::int32_t GroupInterval(StepKind kind, std::size_t groupLength,
                           const ReadingIntervals& intervals, std::int32_t shortGroupLimit);
