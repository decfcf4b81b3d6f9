#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "TestText.h"
#include "text/CompactText.h"
#include "text/DocumentText.h"
#include "text/Outline.h"
#include "text/PositionMap.h"
#include "text/TextRules.h"
#include "text/TextSearch.h"

namespace {

// Lines that stand alone and look like headings, and near misses; "level:" before a heading's line.
TEST(Outline, PlainTextHeadingsAndTheirChapters) {
    const std::pair<std::u32string, std::u32string> cases[] = {
        {U"Глава 3\nТекст.\n  ГЛАВА III. Утро \r\nЕщё.", U"1:Глава 3|1:ГЛАВА III. Утро|"},
        {U"Часть первая\nГлава 1\nChapter twelve\nPART 2 — The Return\nГлава 2.",
         U"1:Часть первая|2:Глава 1|2:Chapter twelve|1:PART 2 — The Return|2:Глава 2.|"},
        {U"Книга вторая\nЧасть 1\nXIV\nПролог\nEpilogue.\nIX.",
         U"1:Книга вторая|2:Часть 1|4:XIV|3:Пролог|3:Epilogue.|4:IX.|"},
        // Near misses: sentences, words that are no numbers, no keyword, too long, clause marks.
        {U"Глава 3 начинается с того, что\nЧасть его души\nГлава\nPart of it\nГлаваIII\n"
         U"Глава третьего дня\nЗдесь Глава 3\nI am\nIIII\nGlava 3\n2\nChapter 12: and so,\n"
         U"Глава 5 — " +
             std::u32string(80, U'ж'),
         U""},
    };
    for (const auto& [text, headings] : cases) {
        std::u32string listed;
        for (const Heading& h : PlainTextOutline(text)) {
            listed += std::u32string(1, U'0' + h.level) + U":" + h.title + U"|";
            EXPECT_EQ(text.substr(h.position, h.title.size()), h.title);
        }
        EXPECT_EQ(ToUtf8(listed), ToUtf8(headings));
    }
    // A chapter runs to the next heading of its level or above; a position belongs to the last
    // heading at or before it.
    const std::vector<Heading> outline = {
        {1, U"a", 5}, {2, U"b", 10}, {3, U"c", 20}, {2, U"d", 30}};
    const std::pair<std::size_t, TextRange> chapters[] = {
        {0, {5, 100}}, {1, {10, 30}}, {2, {20, 30}}, {3, {30, 100}}};
    for (const auto& [index, range] : chapters)
        EXPECT_EQ(ChapterRange(outline, index, 100), range) << index;
    // Position: the heading holding it, its chapter, where the next and the previous one start.
    const std::tuple<std::size_t, std::optional<std::size_t>, TextRange, std::size_t, std::size_t>
        holders[] = {{0, std::nullopt, {0, 5}, 5, 0}, {4, std::nullopt, {0, 5}, 5, 0},
                     {5, 0, {5, 100}, 10, 0},         {19, 1, {10, 30}, 20, 5},
                     {20, 2, {20, 30}, 30, 10},       {99, 3, {30, 100}, 100, 20}};
    for (const auto& [position, index, chapter, next, previous] : holders) {
        EXPECT_EQ(HeadingAt(outline, position), index) << position;
        EXPECT_EQ(ChapterAround(outline, position, 100), chapter) << position;
        EXPECT_EQ(NextChapterStart(outline, position, 100), next) << position;
        EXPECT_EQ(PreviousChapterStart(outline, position), previous) << position;
    }
}

// A new text is capped and trimmed; its runs and headings keep only what lies in what remains.
TEST(DocumentText, KeepsOnlyWhatLiesInTheTrimmedText) {
    CharFormat b;
    b.bold = true;
    using Runs = std::vector<TextRun>;
    using Outline = std::vector<Heading>;
    const std::tuple<std::u32string, Runs, Outline, std::u32string, Runs, Outline> cases[] = {
        {U"Слово  \r\n\t", {{0, 3, {}}, {3, 7, b}}, {}, U"Слово", {{0, 3, {}}, {3, 2, b}}, {}},
        {U"ab \r\n",
         {{0, 2, {}}, {2, 3, b}},
         {{1, U"a", 0}, {2, U"b", 3}},
         U"ab",
         {{0, 2, {}}},
         {{1, U"a", 0}}},
        {U"ab", {}, {{1, U"a", 0}, {2, U"b", 2}}, U"ab", {}, {{1, U"a", 0}}},  // none at the end
        {U" \r\n\0", {{0, 4, b}}, {{1, U"x", 0}}, U"", {}, {}},
    };
    for (const auto& [text, runs, outline, kept, keptRuns, keptOutline] : cases) {
        SCOPED_TRACE(ToUtf8(text));
        DocumentText document;
        document.Replace(text, runs, outline);
        EXPECT_EQ(
            std::make_tuple(document.Characters().ToString(), document.Runs(), document.Outline()),
            std::tie(kept, keptRuns, keptOutline));
    }
    DocumentText document;
    document.Replace(std::u32string(kMaxTextLength + 5, U'я'));
    EXPECT_EQ(document.Length(), kMaxTextLength);
    EXPECT_EQ(document.Slice({kMaxTextLength - 2, kMaxTextLength + 9}), U"яя");
    EXPECT_EQ(document.Slice({kMaxTextLength + 1, kMaxTextLength + 9}), U"");
    EXPECT_EQ(document.Slice({5, 3}), U"");
    document.Clear();
    EXPECT_TRUE(document.TooShort());
}

// "/" for a line break (CR LF, lone CR or LF: one widget character each), "|" for a split.
std::u32string WidgetView(std::u32string_view text, const PositionMap& map) {
    std::u32string view;
    auto split = map.Splits().begin();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (split != map.Splits().end() && *split == i) view += U'|', ++split;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        view += text[i] == '\r' || text[i] == '\n' ? U'/' : text[i];
    }
    return view;
}

std::u32string Repeated(std::u32string_view piece, std::size_t times) {
    std::u32string text;
    while (times-- > 0) text += piece;
    return text;
}

// Limit 8: split before a word starting once a piece holds 4 characters, or before the 9th.
TEST(PositionMap, SplitsLongLinesAndMapsEveryPosition) {
    const std::pair<std::u32string, std::u32string> cases[] = {
        {U"aaaa bbbbbbb", U"aaaa |bbbbbbb"},
        {U"ab cd efgh", U"ab cd |efgh"},
        {U"abc defghijk", U"abc |defghijk"},
        {U"abcdefghijklmnopqrst", U"abcdefgh|ijklmnop|qrst"},
        {U"abcdefgh", U"abcdefgh"},
        {U"abcdefghi", U"abcdefgh|i"},
        {U"ab cdefghijklmno", U"ab cdefg|hijklmno"},
        {U"abc         d", U"abc     |    d"},
        {U"aaaa\tbbbb", U"aaaa\t|bbbb"},
        {U"abcdefgh\r\nijklmnop", U"abcdefgh/ijklmnop"},
        {U"ab\r\ncdefghijkl", U"ab/cdefghij|kl"},
        {U"aaaa    ", U"aaaa    "},
    };
    for (const auto& [text, view] : cases)
        EXPECT_EQ(WidgetView(text, PositionMap(text, 8)), view) << ToUtf8(text);
    // Every position both ways against a walk by hand over the text and the map's splits.
    const std::pair<std::u32string, std::size_t> walks[] = {
        {U"", PositionMap::kLineLimit},
        {U"\r\n\n\r\r\n\n\rx\r", PositionMap::kLineLimit},
        {U"abcdefghi\r\nj", 8},
        {U"ab\r\ncdefghijkl\r\n", 8},
        {Repeated(U"words \t", 5000), PositionMap::kLineLimit},
        {std::u32string(20'000, U'x'), PositionMap::kLineLimit},
        {U"a\U0001F600b\r\n\U0001F600", PositionMap::kLineLimit},
        {U"abcdefg\U0001F600hij", 8},
        {Repeated(U"ab cd\r\nefgh\U0001F600 ij\rkl\nmnopqrstuvwxyz0123456789 ", 500), 16},
        {Repeated(U"\u0400\u0401\u0402\u04FF\u0500\u0501 ", 60) + U"\r\n\u0600\u0601", 64},
    };
    for (const auto& [text, limit] : walks) {
        SCOPED_TRACE(ToUtf8(text.substr(0, 20)));
        const PositionMap map(text, limit);
        // The same map over the text held a byte a character.
        const PositionMap fromCompact(CompactText(text), limit);
        ASSERT_EQ(fromCompact.Splits(), map.Splits());
        for (std::size_t p = 0; p <= text.size(); ++p)
            ASSERT_EQ(fromCompact.ToWidget(p), map.ToWidget(p)) << p;
        std::vector<std::size_t> toWidget, toText;  // for every position, end included
        std::size_t widget = 0;
        auto split = map.Splits().begin();
        for (std::size_t i = 0; i < text.size(); ++i, ++widget) {
            if (split != map.Splits().end() && *split == i) toText.push_back(i), ++widget, ++split;
            toWidget.push_back(widget);
            toText.push_back(i);
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                toWidget.push_back(widget + 1);  // the LF of a pair: after the break
                ++i;
            }
            if (text[i] > 0xFFFF) toText.push_back(i + 1), ++widget;  // two UTF-16 units
        }
        toWidget.push_back(widget);
        toText.push_back(text.size());
        for (std::size_t p = 0; p < toWidget.size(); ++p)
            ASSERT_EQ(map.ToWidget(p), toWidget[p]) << p;
        for (std::size_t w = 0; w < toText.size(); ++w) ASSERT_EQ(map.ToText(w), toText[w]) << w;
    }
}

// A text made in pieces reads as its characters, a byte each up to 256 different ones and four
// each from the 257th on; searches find what they find in the characters themselves.
TEST(CompactText, ReadsAsItsCharactersInEitherForm) {
    std::u32string alphabet;  // 256 different characters, "с" (U+0441) among them
    for (char32_t c = 0x400; c < 0x500; ++c) alphabet += c;
    const std::pair<std::u32string, bool> cases[] = {
        {U"", true},
        {U"Глава 1\r\nТекст, и \U0001F600 ещё.\r\n\r", true},
        {alphabet + U"\n" + alphabet, false},
        {U"xx\n" + alphabet.substr(2), true},
        {U"\nab", true},
        {alphabet + U"\U0001F600ab", false},
    };
    const std::u32string probes = U"\r\nАaA\U0001F600\u04FF.";  // 'A' shares its low byte with "с"
    for (const auto& [text, narrow] : cases) {
        SCOPED_TRACE(ToUtf8(text.substr(0, 12)));
        CompactText compact(std::u32string_view(text).substr(0, text.size() / 2));
        compact.Append(std::u32string_view(text).substr(text.size() / 2));
        const TextView view = compact;
        const std::u32string_view expected = text;
        EXPECT_EQ(view.Narrow() != nullptr, narrow);
        EXPECT_EQ(view.ToString(), text);
        EXPECT_FALSE(view == text + U"!");
        const std::u32string_view part = expected.substr(std::min<std::size_t>(3, text.size()), 4);
        for (const std::size_t from : {std::size_t{0}, std::size_t{1}, text.size() / 2}) {
            if (from > text.size()) continue;
            for (const char32_t c : probes) EXPECT_EQ(view.find(c, from), expected.find(c, from));
            EXPECT_EQ(view.find_first_of(U"\r\n", from), expected.find_first_of(U"\r\n", from));
            EXPECT_EQ(view.find_last_of(U"\r\n", from), expected.find_last_of(U"\r\n", from));
            EXPECT_EQ(view.find(part, from), expected.find(part, from));
            EXPECT_EQ(view.substr(from, 5).ToString(), expected.substr(from, 5));
        }
        CompactText cut = compact;
        cut.Truncate(text.size() / 3);
        EXPECT_EQ(cut.ToString(), text.substr(0, text.size() / 3));
    }
    // A code page's bytes are kept as they are, two of them read alike; a character the page
    // lacks turns the text into the four-byte form.
    std::array<char32_t, 256> page{};
    for (std::size_t byte = 0; byte < page.size(); ++byte) page[byte] = static_cast<char32_t>(byte);
    page[0x98] = page[0x99] = U'\uFFFD';
    CompactText bytes(std::string("a\x98"
                                  "b\x99",
                                  4),
                      page);
    EXPECT_EQ(bytes.View().find(U'\uFFFD', 2), 3u);
    bytes.Append(U"Ж");
    EXPECT_TRUE(bytes.View().Narrow() == nullptr && bytes == U"a\uFFFDb\uFFFDЖ");
}

TEST(TextRules, TrimmingAndCutting) {
    const std::pair<std::string, std::size_t> trims[] = {
        {"word\r\n\r\n  ", 4},
        {std::string("x\t\0\t", 4), 1},
        {"", 0},
        {std::string(256, ' '), 0},
        {std::string(20, 'a') + std::string(280, ' '), 44},
        {std::string(257, '\n'), 1},
    };
    for (const auto& [text, kept] : trims) EXPECT_EQ(TrimmedLength(FromCp1251(text)), kept) << text;

    const std::u32string far(kCutSearch + 10, U'x');
    const std::tuple<std::u32string, std::size_t, std::u32string> cuts[] = {
        {U"one two", 7, U"one two"},
        {U"one two\r\nthree four five", 15, U"one two"},
        {U"one\u2029two three", 12, U"one"},
        {U"one two three", 9, U"one two"},
        {U"one two three", 7, U"one two"},
        {U"one   two three", 7, U"one"},
        {U"one\u00A0two", 5, U"one\u00A0t"},
        {U"abcdefgh", 5, U"abcde"},
        {U"one\n" + far + U" two three", far.size() + 10, U"one\n" + far + U" two"},
        {U"one " + far, far.size(), (U"one " + far).substr(0, far.size())},
    };
    for (const auto& [text, limit, kept] : cuts) {
        const std::size_t length = CutLength(text, limit);
        EXPECT_TRUE(length <= limit && text.substr(0, length) == kept) << length;
    }
}

TEST(TextRules, WordsLinesClipboardAndSeparators) {
    const std::string long35 = "x " + std::string(35, 'w') + " y";
    const std::tuple<std::string, std::size_t, TextRange, TextRange> cases[] = {
        {"one abcdefghijkl two", 9, {4, 16}, {0, 20}},
        {"one abcdefghijkl two", 4, {4, 16}, {0, 20}},
        {"ends in word", 12, {8, 12}, {0, 12}},
        {"a  b", 2, {2, 2}, {0, 4}},
        {long35, 37, {7, 37}, {0, 39}},
        {long35, 2, {2, 32}, {0, 39}},
        {"", 0, {0, 0}, {0, 0}},
        {"ab\r\ncd", 5, {4, 6}, {4, 6}},
        {"x a\xA0\x62 y", 3, {2, 5}, {0, 7}},
        {"one\r\ntwo\r\nsix", 8, {5, 8}, {5, 8}},
        {"a\rbc\rd", 3, {2, 4}, {2, 4}},
        {"a\n\nb", 2, {2, 2}, {2, 2}},
        {"\nab", 0, {0, 0}, {0, 0}},
    };
    for (const auto& [text, caret, word, line] : cases) {
        SCOPED_TRACE(text + " at " + std::to_string(caret));
        EXPECT_EQ(WordAtCaret(FromCp1251(text), caret), word);
        EXPECT_EQ(LineAt(FromCp1251(text), caret), line);
    }
    EXPECT_EQ(LineAt(U"ab", 9), (TextRange{0, 2}));
    EXPECT_EQ(ClipboardText(U"1\r\n2\n3\r4\r\r\n5\n\r6"), U"1\n2\n3\n4\n\n5\n\n6");
    // Separators: the four of the code page and other Unicode white space.
    for (const char32_t c : std::u32string_view(U" \t\r\n\u2003\u3000\u0085\u2029\u202F"))
        EXPECT_TRUE(IsSeparator(c)) << std::hex << unsigned(c);
    for (const char32_t c : std::u32string_view(U"\v\f\u00A0\u00AD\u200Bж日\U0001F600"))
        EXPECT_FALSE(IsSeparator(c)) << std::hex << unsigned(c);
    // The quick answer below U+1680 agrees with the full rule.
    for (char32_t c = 0x80; c <= 0x1680; ++c)
        ASSERT_EQ(IsSeparator(c), IsOtherSeparator(c)) << unsigned(c);
    EXPECT_EQ(WordAtCaret(U"日本語\u3000テキスト", 1), (TextRange{0, 3}));
    EXPECT_EQ(WordAtCaret(U"a \U0001F600\U0001F600 b", 2), (TextRange{2, 4}));
}

TEST(TextSearch, FindsForwardWithTheOptionsAndLimitsTheSearchText) {
    constexpr SearchOptions kAny{}, kCase{true, false}, kWord{false, true};
    const std::optional<TextRange> no;
    const std::tuple<std::u32string, std::u32string, std::size_t, std::size_t, SearchOptions,
                     std::optional<TextRange>>
        rows[] = {
            {U"Ёлка и ЁЛКА", U"ёлка", 1, 99, kAny, TextRange{7, 11}},
            {U"елка", U"ёлка", 0, 99, kAny, no},
            {U"ЂЃЉЊЌЋЏЎЈҐЄЇІЅ", U"ђѓљњќћџўјґєїіѕ", 0, 99, kAny, TextRange{0, 14}},
            {U"1word word2 word", U"word", 0, 99, kWord, TextRange{12, 16}},
            {U"abcdef", U"cde", 0, 3, kAny, TextRange{2, 5}},
            {U"abcdef", U"cde", 0, 2, kAny, no},
            {U"abc", U"c", 5, 99, kAny, no},
            {U"abc", U"", 0, 99, kAny, no},
            {U"aaab", U"aab", 0, 99, kAny, TextRange{1, 4}},
            {U"die Straße", U"STRASSE", 0, 99, kAny, TextRange{4, 10}},
            {U"STRASSE Straße", U"Straße", 0, 99, kCase, TextRange{8, 14}},
            {U"ΟΔΟΣ οδος", U"οδοσ", 1, 99, kAny, TextRange{5, 9}},
            {U"a\U0001F600b", U"\U0001F600B", 0, 99, kAny, TextRange{1, 3}},
            {U"cafés café", U"CAFÉ", 0, 99, kWord, TextRange{6, 10}},
            {U"cafe\u0301 cafe", U"cafe", 0, 99, kWord, TextRange{6, 10}},
            {U"日本語、日本。", U"日本", 0, 99, kWord, TextRange{4, 6}},
        };
    for (const auto& [text, what, from, to, options, found] : rows)
        EXPECT_EQ(FindForward(text, what, from, to, options), found) << ToUtf8(text);
    EXPECT_EQ(DialogSearchText(std::u32string(220, U'a')), std::u32string(220, U'a'));
    EXPECT_EQ(DialogSearchText(std::u32string(221, U'a')), U"");
    SearchState state;
    state.options = {true, true};
    state.wrapped = true;
    EXPECT_EQ(BeginSelectionSearch(state, std::u32string(300, U'b'), TextRange{40, 340}),
              (SearchState{std::u32string(255, U'b'), {true, true}, 40, false}));
}

}  // namespace
