// The status bar's second pane puts the estimate's numbers into words.

#include <gtest/gtest.h>

#include <optional>

#include <QStatusBar>

#include "reading/CEstimatePane.h"

namespace {

TEST(EstimatePane, RateAndTimeLeftInMinutesOrUnderAMinuteInSeconds) {
    struct Case {
        std::optional<ReadingEstimate> estimate;
        const char* text;
    };
    const Case cases[] = {
        {ReadingEstimate{1, 60'000, 59'000}, "≈ 1 слов/мин · осталось 59 с"},
        {ReadingEstimate{1, 60'000, 59'001}, "≈ 1 слов/мин · осталось 1 мин"},
        {ReadingEstimate{1, 60'000, 89'000}, "≈ 1 слов/мин · осталось 1 мин"},
        {ReadingEstimate{1, 60'000, 90'000}, "≈ 1 слов/мин · осталось 2 мин"},
        {ReadingEstimate{900, 180'000, 150'000}, "≈ 300 слов/мин · осталось 3 мин"},
        {ReadingEstimate{0, 0, 0}, "≈ 0 слов/мин · осталось 0 с"},
        {std::nullopt, ""},
    };
    QStatusBar bar;
    std::optional<ReadingEstimate> shown;
    CEstimatePane pane(&bar, [&] { return shown; });
    for (const Case& c : cases) {
        shown = c.estimate;
        pane.Refresh();
        EXPECT_EQ(pane.text().toStdString(), c.text);
    }
}

}  // namespace
