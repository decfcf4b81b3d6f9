#include "text/DocumentText.h"

#include <gtest/gtest.h>

// A new text is capped and trimmed before anything sees it, and its runs and
// headings keep only what lies in the text that remains.

namespace {

CharFormat Bold() {
    CharFormat format;
    format.bold = true;
    return format;
}

TEST(DocumentTextTest, ANewTextKeepsOnlyWhatLiesInTheTrimmedText) {
    struct Case {
        const char* name;
        std::u32string text;
        std::vector<TextRun> runs;
        std::vector<Heading> outline;
        std::u32string kept;
        std::vector<TextRun> keptRuns;
        std::vector<Heading> keptOutline;
    };
    const Case cases[] = {
        {"nothing to trim",
         U"Глава. Текст",
         {{0, 6, Bold()}},
         {{1, U"Глава", 0}},
         U"Глава. Текст",
         {{0, 6, Bold()}},
         {{1, U"Глава", 0}}},
        {"a run over the trimmed blanks is cut",
         U"Слово  \r\n\t",
         {{0, 3, {}}, {3, 7, Bold()}},
         {},
         U"Слово",
         {{0, 3, {}}, {3, 2, Bold()}},
         {}},
        {"a run and a heading wholly in the blanks go",
         U"ab \r\n",
         {{0, 2, {}}, {2, 3, Bold()}},
         {{1, U"a", 0}, {2, U"b", 3}},
         U"ab",
         {{0, 2, {}}},
         {{1, U"a", 0}}},
        {"only blanks", U" \r\n\0", {{0, 4, Bold()}}, {{1, U"x", 0}}, U"", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DocumentText document;
        document.Replace(c.text, c.runs, c.outline);
        EXPECT_EQ(document.Characters(), c.kept);
        EXPECT_EQ(document.Runs(), c.keptRuns);
        EXPECT_EQ(document.Outline(), c.keptOutline);
        EXPECT_EQ(document.Map().ToWidget(document.Length()), document.Length());
    }
}

TEST(DocumentTextTest, ATextOverTheLimitIsCutThereAndSlicesStayInside) {
    DocumentText document;
    document.Replace(std::u32string(kMaxTextLength + 5, U'я'));
    EXPECT_EQ(document.Length(), kMaxTextLength);
    EXPECT_EQ(document.Slice({kMaxTextLength - 2, kMaxTextLength + 9}), U"яя");
    EXPECT_EQ(document.Slice({kMaxTextLength + 1, kMaxTextLength + 9}), U"");
    EXPECT_EQ(document.Slice({5, 3}), U"");
    document.Clear();
    EXPECT_TRUE(document.TooShort());
    EXPECT_EQ(document.Slice({0, 4}), U"");
}

}  // namespace
