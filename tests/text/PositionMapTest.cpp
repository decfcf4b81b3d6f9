#include "text/PositionMap.h"

#include <gtest/gtest.h>

namespace {

// The widget shows every line break as one separator; this builds the widget's
// view of a text the slow way, position by position, to check the map against.
struct Expected {
    std::vector<std::size_t> toWidget;  // for every text position, end included
    std::vector<std::size_t> toText;    // for every widget position, end included
};

Expected WalkByHand(std::string_view text) {
    Expected e;
    std::size_t widget = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        e.toWidget.push_back(widget);
        const bool crOfPair = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        if (crOfPair) {
            e.toText.push_back(i);
            e.toWidget.push_back(widget + 1);  // the LF: after the break
            ++i;
        } else {
            e.toText.push_back(i);
        }
        ++widget;
    }
    e.toWidget.push_back(widget);
    e.toText.push_back(text.size());
    return e;
}

TEST(PositionMap, MatchesAPositionByPositionWalk) {
    struct Case {
        const char* name;
        std::string text;
    };
    const Case cases[] = {
        {"empty", ""},
        {"no breaks", "one two three"},
        {"crlf", "ab\r\ncd\r\n\r\nef"},
        {"lone lf", "ab\ncd\n\nef"},
        {"lone cr", "ab\rcd\r\ref"},
        {"mixed", "\r\n\n\r\r\n\n\rx\r"},
        {"cr before crlf", "a\r\r\nb"},
        {"ends in crlf", "end\r\n"},
        {"starts with crlf", "\r\nstart"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PositionMap map(c.text);
        const Expected e = WalkByHand(c.text);
        for (std::size_t p = 0; p < e.toWidget.size(); ++p) {
            EXPECT_EQ(map.ToWidget(p), e.toWidget[p]) << "text position " << p;
        }
        for (std::size_t w = 0; w < e.toText.size(); ++w) {
            EXPECT_EQ(map.ToText(w), e.toText[w]) << "widget position " << w;
            EXPECT_EQ(map.ToWidget(map.ToText(w)), w);
        }
    }
}

}  // namespace
