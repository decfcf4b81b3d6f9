#pragma once

#include <cstdint>
#include <string>

// One reading run as the history keeps it: which document, what task, when it
// began, how long the reader really read (pauses left out by the caller), and
// how much was shown. Positions are character offsets into the document's text.
struct ReadingRun {
    std::int64_t shelfKey = -1;  // the document's shelf key, -1 when it is not on the shelf
    std::string path;
    std::string name;  // the document's name as the reader sees it
    std::int64_t textLength = 0;

    int taskKind = 0;
    std::int64_t taskFrom = 0;
    std::int64_t taskTo = 0;

    std::int64_t startMs = 0;  // wall clock, Unix milliseconds
    std::int64_t spentMs = 0;  // time actually spent reading
    std::int64_t groupsShown = 0;
    std::int64_t wordsShown = 0;
    int minLevel = 0;  // speed levels used during the run
    int maxLevel = 0;
    int lastLevel = 0;
    std::int64_t furthest = 0;  // the furthest position reached

    bool operator==(const ReadingRun&) const = default;
};
