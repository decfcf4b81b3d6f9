#include "text/PositionMap.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

// The widget's view of a text as the map lays it out: "/" for a line break
// (CR LF, lone CR or lone LF: one widget character each) and "|" for a break
// the widget puts into a long line.
std::string WidgetView(std::string_view text, const PositionMap& map) {
    std::string view;
    auto split = map.Splits().begin();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (split != map.Splits().end() && *split == i) {
            view += '|';
            ++split;
        }
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            view += '/';
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
        std::string text;
        std::string view;
    };
    const Case cases[] = {
        {"short line", "short", "short"},
        {"a line no longer than the limit stays whole", "aa bb cc", "aa bb cc"},
        {"the last piece may reach the limit", "aaaa bbbbbbb", "aaaa |bbbbbbb"},
        {"words", "aaaa bbbb cccc dddd", "aaaa |bbbb |cccc |dddd"},
        {"word start before half the limit", "ab cd efgh", "ab cd |efgh"},
        {"no word starts: cut at the limit", "abcdefghijklmnopqrst", "abcdefgh|ijklmnop|qrst"},
        {"exactly the limit", "abcdefgh", "abcdefgh"},
        {"one over the limit", "abcdefghi", "abcdefgh|i"},
        {"a long word after a short one", "ab cdefghijklmno", "ab cdefg|hijklmno"},
        {"blanks run past the limit", "abc         d", "abc     |    d"},
        {"tab separates words", "aaaa\tbbbb", "aaaa\t|bbbb"},
        {"crlf starts a new line", "aaaaaaa\r\nbbbbbbb", "aaaaaaa/bbbbbbb"},
        {"crlf right at the limit", "abcdefgh\r\nijklmnop", "abcdefgh/ijklmnop"},
        {"lone cr and lf start new lines", "abcdefg\rhijklmn\nopqrstu", "abcdefg/hijklmn/opqrstu"},
        {"line after a break counts afresh", "ab\r\ncdefghijkl", "ab/cdefghij|kl"},
        {"text ends at a split point", "aaaa bbbb", "aaaa |bbbb"},
        {"blanks at the end are not split off", "aaaa    ", "aaaa    "},
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

Expected WalkByHand(std::string_view text, const std::vector<std::size_t>& splits) {
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
        ++widget;
    }
    e.toWidget.push_back(widget);
    e.toText.push_back(text.size());
    return e;
}

std::string RandomText(std::size_t size, bool lineBreaks, bool blanks, unsigned seed) {
    std::mt19937 random(seed);
    std::string text;
    while (text.size() < size) {
        const unsigned r = random() % 100;
        if (lineBreaks && r < 2) {
            text += "\r\n";
        } else if (lineBreaks && r < 3) {
            text += random() % 2 == 0 ? '\r' : '\n';
        } else if (blanks && r < 20) {
            text += random() % 5 == 0 ? '\t' : ' ';
        } else {
            text += static_cast<char>('a' + random() % 26);
        }
    }
    return text;
}

TEST(PositionMap, MatchesAPositionByPositionWalk) {
    struct Case {
        const char* name;
        std::string text;
        std::size_t limit;
    };
    const Case cases[] = {
        {"empty", "", PositionMap::kLineLimit},
        {"no breaks", "one two three", PositionMap::kLineLimit},
        {"crlf", "ab\r\ncd\r\n\r\nef", PositionMap::kLineLimit},
        {"lone lf", "ab\ncd\n\nef", PositionMap::kLineLimit},
        {"lone cr", "ab\rcd\r\ref", PositionMap::kLineLimit},
        {"mixed", "\r\n\n\r\r\n\n\rx\r", PositionMap::kLineLimit},
        {"cr before crlf", "a\r\r\nb", PositionMap::kLineLimit},
        {"ends in crlf", "end\r\n", PositionMap::kLineLimit},
        {"starts with crlf", "\r\nstart", PositionMap::kLineLimit},
        {"splits between words", "aaaa bbbb cccc dddd", 8},
        {"split just before a crlf", "abcdefghi\r\nj", 8},
        {"split just after a crlf", "ab\r\ncdefghijkl\r\n", 8},
        {"many splits, no blanks", std::string(100, 'x'), 8},
        {"one long line", RandomText(30'000, false, true, 1), PositionMap::kLineLimit},
        {"one long word", RandomText(20'000, false, false, 2), PositionMap::kLineLimit},
        {"long lines with breaks", RandomText(30'000, true, true, 3), 64},
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
        const std::string text = RandomText(200'000, false, blanks, 4);
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
