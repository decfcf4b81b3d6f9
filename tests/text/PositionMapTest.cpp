#include "text/PositionMap.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

// The widget's view of a text as the map lays it out: "/" for a line break
// (CR LF, lone CR or lone LF: one widget character each) and "|" for a break
// the widget puts into a long line.
std::u32string WidgetView(std::u32string_view text, const PositionMap& map) {
    std::u32string view;
    auto split = map.Splits().begin();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (split != map.Splits().end() && *split == i) {
            view += U'|';
            ++split;
        }
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            view += U'/';
        } else {
            view += text[i];
        }
    }
    return view;
}

TEST(PositionMap, SplitsLongLinesAtWordsOrAtTheLimit) {
    // With a limit of 8 a line longer than 8 is split before the first word
    // that starts once a piece holds 4 characters, or before a piece's 9th
    // character, until the rest of the line fits.
    struct Case {
        const char* name;
        std::u32string text;
        std::u32string view;
    };
    const Case cases[] = {
        {"short line", U"short", U"short"},
        {"a line no longer than the limit stays whole", U"aa bb cc", U"aa bb cc"},
        {"the last piece may reach the limit", U"aaaa bbbbbbb", U"aaaa |bbbbbbb"},
        {"words", U"aaaa bbbb cccc dddd", U"aaaa |bbbb |cccc |dddd"},
        {"word start before half the limit", U"ab cd efgh", U"ab cd |efgh"},
        {"no word starts: cut at the limit", U"abcdefghijklmnopqrst", U"abcdefgh|ijklmnop|qrst"},
        {"exactly the limit", U"abcdefgh", U"abcdefgh"},
        {"one over the limit", U"abcdefghi", U"abcdefgh|i"},
        {"a long word after a short one", U"ab cdefghijklmno", U"ab cdefg|hijklmno"},
        {"blanks run past the limit", U"abc         d", U"abc     |    d"},
        {"tab separates words", U"aaaa\tbbbb", U"aaaa\t|bbbb"},
        {"crlf starts a new line", U"aaaaaaa\r\nbbbbbbb", U"aaaaaaa/bbbbbbb"},
        {"crlf right at the limit", U"abcdefgh\r\nijklmnop", U"abcdefgh/ijklmnop"},
        {"lone cr and lf start new lines", U"abcdefg\rhijklmn\nopqrstu", U"abcdefg/hijklmn/opqrstu"},
        {"line after a break counts afresh", U"ab\r\ncdefghijkl", U"ab/cdefghij|kl"},
        {"text ends at a split point", U"aaaa bbbb", U"aaaa |bbbb"},
        {"blanks at the end are not split off", U"aaaa    ", U"aaaa    "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WidgetView(c.text, PositionMap(c.text, 8)), c.view);
    }
}

// Every position both ways, worked out the slow way from the text and the
// map's splits.
struct Expected {
    std::vector<std::size_t> toWidget;  // for every text position, end included
    std::vector<std::size_t> toText;    // for every widget position, end included
};

Expected WalkByHand(std::u32string_view text, const std::vector<std::size_t>& splits) {
    Expected e;
    std::size_t widget = 0;
    auto split = splits.begin();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (split != splits.end() && *split == i) {
            e.toText.push_back(i);  // the widget's own break: the character after it
            ++widget;
            ++split;
        }
        e.toWidget.push_back(widget);
        const bool crOfPair = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        e.toText.push_back(i);
        if (crOfPair) {
            e.toWidget.push_back(widget + 1);  // the LF: after the break
            ++i;
        }
        if (text[i] > 0xFFFF) {
            // Two UTF-16 units: between them is the same place as after.
            e.toText.push_back(i + 1);
            ++widget;
        }
        ++widget;
    }
    e.toWidget.push_back(widget);
    e.toText.push_back(text.size());
    return e;
}

std::u32string RandomText(std::size_t size, bool lineBreaks, bool blanks, unsigned seed,
                          bool astral = false) {
    std::mt19937 random(seed);
    std::u32string text;
    while (text.size() < size) {
        const unsigned r = random() % 100;
        if (lineBreaks && r < 2) {
            text += U"\r\n";
        } else if (lineBreaks && r < 3) {
            text += random() % 2 == 0 ? U'\r' : U'\n';
        } else if (blanks && r < 20) {
            text += random() % 5 == 0 ? U'\t' : U' ';
        } else if (astral && r < 30) {
            text += static_cast<char32_t>(0x1F600 + random() % 64);
        } else {
            text += static_cast<char32_t>('a' + random() % 26);
        }
    }
    return text;
}

TEST(PositionMap, MatchesAPositionByPositionWalk) {
    struct Case {
        const char* name;
        std::u32string text;
        std::size_t limit;
    };
    const Case cases[] = {
        {"empty", U"", PositionMap::kLineLimit},
        {"no breaks", U"one two three", PositionMap::kLineLimit},
        {"crlf", U"ab\r\ncd\r\n\r\nef", PositionMap::kLineLimit},
        {"lone lf", U"ab\ncd\n\nef", PositionMap::kLineLimit},
        {"lone cr", U"ab\rcd\r\ref", PositionMap::kLineLimit},
        {"mixed", U"\r\n\n\r\r\n\n\rx\r", PositionMap::kLineLimit},
        {"cr before crlf", U"a\r\r\nb", PositionMap::kLineLimit},
        {"ends in crlf", U"end\r\n", PositionMap::kLineLimit},
        {"starts with crlf", U"\r\nstart", PositionMap::kLineLimit},
        {"splits between words", U"aaaa bbbb cccc dddd", 8},
        {"split just before a crlf", U"abcdefghi\r\nj", 8},
        {"split just after a crlf", U"ab\r\ncdefghijkl\r\n", 8},
        {"many splits, no blanks", std::u32string(100, U'x'), 8},
        {"one long line", RandomText(30'000, false, true, 1), PositionMap::kLineLimit},
        {"one long word", RandomText(20'000, false, false, 2), PositionMap::kLineLimit},
        {"long lines with breaks", RandomText(30'000, true, true, 3), 64},
        {"emoji take two widget positions", U"a\U0001F600b\r\n\U0001F600", PositionMap::kLineLimit},
        {"emoji at a split", U"abcdefg\U0001F600hij", 8},
        {"emoji and breaks", RandomText(30'000, true, true, 5, true), 64},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PositionMap map(c.text, c.limit);
        const Expected e = WalkByHand(c.text, map.Splits());
        for (std::size_t p = 0; p < e.toWidget.size(); ++p) {
            ASSERT_EQ(map.ToWidget(p), e.toWidget[p]) << "text position " << p;
            // Every position of the text comes back as itself, except the LF
            // of a pair, which is the same place as after it.
            const bool lfOfPair =
                p > 0 && c.text[p - 1] == '\r' && p < c.text.size() && c.text[p] == '\n';
            ASSERT_EQ(map.ToText(map.ToWidget(p)), lfOfPair ? p + 1 : p) << "text position " << p;
        }
        for (std::size_t w = 0; w < e.toText.size(); ++w) {
            ASSERT_EQ(map.ToText(w), e.toText[w]) << "widget position " << w;
        }
    }
}

TEST(PositionMap, NoWidgetLineOutgrowsTheLimit) {
    for (const bool blanks : {true, false}) {
        SCOPED_TRACE(blanks ? "words" : "one word");
        const std::u32string text = RandomText(200'000, false, blanks, 4);
        const PositionMap map(text);
        std::size_t pieceStart = 0;
        for (const std::size_t split : map.Splits()) {
            const std::size_t piece = split - pieceStart;
            ASSERT_LE(piece, PositionMap::kLineLimit);
            // Short of the limit a piece ends only where a word starts.
            if (piece < PositionMap::kLineLimit) {
                ASSERT_GE(piece, PositionMap::kLineLimit / 2);
                ASSERT_TRUE(text[split - 1] == ' ' || text[split - 1] == '\t');
                ASSERT_FALSE(text[split] == ' ' || text[split] == '\t');
            }
            pieceStart = split;
        }
        EXPECT_LE(text.size() - pieceStart, PositionMap::kLineLimit);
        EXPECT_GE(map.Splits().size(), text.size() / PositionMap::kLineLimit);
    }
}

}  // namespace
