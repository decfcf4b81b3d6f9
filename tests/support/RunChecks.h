#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "text/TextRun.h"

// Formatted runs as the text pane takes them: from 0 to the text's end without
// gaps, none empty, and no two neighbours of one format.
inline void ExpectRunsTileTheText(const std::vector<TextRun>& runs, std::size_t textSize) {
    std::size_t next = 0;
    for (std::size_t i = 0; i < runs.size(); next += runs[i++].length) {
        EXPECT_EQ(runs[i].start, next) << "run " << i;
        EXPECT_GT(runs[i].length, 0u) << "run " << i;
        if (i > 0) {
            EXPECT_NE(runs[i].format, runs[i - 1].format) << "run " << i;
        }
    }
    EXPECT_EQ(next, textSize);
}
