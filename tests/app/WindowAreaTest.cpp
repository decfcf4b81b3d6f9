#include <gtest/gtest.h>

#include "app/WindowArea.h"

namespace {

TEST(WindowArea, SavedRectanglesAreFittedIntoTheAvailableArea) {
    struct Case {
        const char* name;
        ScreenRect saved;
        ScreenRect area;
        ScreenRect expected;
    };
    // A 1920x1080 screen at scale factor 2 offers 960x540, less a 24-pixel panel at the top.
    const ScreenRect halved{0, 24, 960, 516};
    const Case cases[] = {
        {"inside stays", {50, 50, 800, 400}, halved, {50, 50, 800, 400}},
        {"saved at scale 1 shrinks to the area", {360, 140, 1200, 800}, halved, {0, 24, 960, 516}},
        {"too far right moves left", {700, 100, 400, 300}, halved, {560, 100, 400, 300}},
        {"too far down moves up", {10, 400, 400, 300}, halved, {10, 240, 400, 300}},
        {"above the panel moves down", {10, 0, 400, 300}, halved, {10, 24, 400, 300}},
        {"on a screen now gone", {-2000, -900, 640, 480}, halved, {0, 24, 640, 480}},
        {"second screen to the right",
         {1900, 10, 500, 300},
         {1920, 0, 1280, 1024},
         {1920, 10, 500, 300}},
        {"damaged size takes the area", {5, 5, 0, -3}, halved, {0, 24, 960, 516}},
        {"no screen known", {5000, 5000, 800, 600}, {0, 0, 0, 0}, {5000, 5000, 800, 600}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FitIntoArea(c.saved, c.area), c.expected);
    }
}

}  // namespace
