#include "library/LibraryDialogRules.h"

#include <gtest/gtest.h>

namespace {

TEST(LibraryDialogRules, ChosenEntry) {
    struct Row {
        const char* name;
        std::optional<std::size_t> selected;
        std::size_t count;
        bool lone;
        std::optional<std::size_t> chosen;
    };
    const Row rows[] = {
        {"selected", 2, 3, true, 2},
        {"selected past the end", 3, 3, true, std::nullopt},
        {"lone entry, no selection", std::nullopt, 1, true, 0},
        {"lone entry, selection wanted", std::nullopt, 1, false, std::nullopt},
        {"two entries, no selection", std::nullopt, 2, true, std::nullopt},
        {"empty list", std::nullopt, 0, true, std::nullopt},
        {"selected lone entry, selection wanted", 0, 1, false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ChosenEntry(row.selected, row.count, row.lone), row.chosen);
    }
}

TEST(LibraryDialogRules, OpenListDialog) {
    struct Row {
        const char* name;
        std::int32_t width, height, minWidth, minHeight;  // in the settings before
        int screenWidth, screenHeight;
        DialogGeometry geometry;
        std::int32_t afterWidth, afterHeight, afterMinWidth, afterMinHeight;
    };
    // The client size the template gives is 300 x 200 in every row.
    const Row rows[] = {
        {"first use ever",
         0,
         0,
         0,
         0,
         1024,
         768,
         {362, 284, 300, 200, 300, 200},
         300,
         200,
         300,
         200},
        {"height alone unknown",
         500,
         0,
         10,
         10,
         1024,
         768,
         {362, 284, 300, 200, 300, 200},
         300,
         200,
         300,
         200},
        {"remembered",
         401,
         303,
         300,
         200,
         1024,
         768,
         {311, 232, 401, 303, 300, 200},
         401,
         303,
         300,
         200},
        {"odd difference halves downwards",
         301,
         201,
         300,
         200,
         1024,
         768,
         {361, 283, 301, 201, 300, 200},
         301,
         201,
         300,
         200},
        {"larger than the screen: shifted left of the origin by an arithmetic shift",
         1500,
         901,
         300,
         200,
         0,
         0,
         {-750, -451, 1500, 901, 300, 200},
         1500,
         901,
         300,
         200},
        {"larger than a known screen",
         5000,
         4000,
         3000,
         2000,
         1024,
         768,
         {0, 0, 1024, 768, 1024, 768},
         5000,
         4000,
         3000,
         2000},
        {"smaller than its minimum",
         100,
         100,
         300,
         200,
         1024,
         768,
         {362, 284, 300, 200, 300, 200},
         100,
         100,
         300,
         200},
        {"no minimum", 400, 300, 0, -5, 1024, 768, {312, 234, 400, 300, 300, 200}, 400, 300, 0, -5},
        {"negative size counts as unknown",
         -400,
         300,
         50,
         50,
         1024,
         768,
         {362, 284, 300, 200, 300, 200},
         300,
         200,
         300,
         200},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::int32_t width = row.width, height = row.height;
        std::int32_t minWidth = row.minWidth, minHeight = row.minHeight;
        const DialogGeometry geometry = OpenListDialog({width, height, minWidth, minHeight}, 300,
                                                       200, row.screenWidth, row.screenHeight);
        EXPECT_EQ(geometry, row.geometry);
        EXPECT_EQ(width, row.afterWidth);
        EXPECT_EQ(height, row.afterHeight);
        EXPECT_EQ(minWidth, row.afterMinWidth);
        EXPECT_EQ(minHeight, row.afterMinHeight);
    }
}

TEST(LibraryDialogRules, OfferedShelfNameDropsTheLastExtension) {
    struct Row {
        const char* name;
        const char32_t* document;
        const char32_t* offered;
    };
    const Row rows[] = {
        {"one extension", U"report.txt", U"report"},
        {"two dots", U"archive.tar.gz", U"archive.tar"},
        {"no dot", U"README", U"README"},
        {"dot first", U".profile", U""},
        {"dot last", U"name.", U"name"},
        {"empty", U"", U""},
        {"Cyrillic", U"Отчёт.rtf", U"Отчёт"},
        {"beyond Windows-1251", U"G\u00F6del \U0001F600.pdf", U"G\u00F6del \U0001F600"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(OfferedShelfName(row.document), row.offered);
    }
}

TEST(LibraryDialogRules, OfferedBookShelfNameIsAuthorAndTitleWhenTheBookHasThem) {
    struct Row {
        const char* name;
        const char32_t* document;
        const char32_t* author;
        const char32_t* title;
        const char32_t* offered;
    };
    const Row rows[] = {
        {"both", U"tale.pdf", U"Лев Толстой", U"Война и мир", U"Лев Толстой - Война и мир"},
        {"title only", U"tale.epub", U"", U"Война и мир", U"Война и мир"},
        {"author only", U"tale.epub", U"Лев Толстой", U"", U"tale"},
        {"neither", U"tale.docx", U"", U"", U"tale"},
        {"blank title", U"tale.odt", U"Лев Толстой", U"  \t", U"tale"},
        {"spaces trimmed", U"tale.pdf", U" Anna ", U" Notes ", U"Anna - Notes"},
        {"zipped fb2 loses both extensions", U"tale.fb2.zip", U"", U"", U"tale"},
        {"in any case", U"TALE.FB2.ZIP", U"", U"", U"TALE"},
        {"a plain fb2", U"tale.fb2", U"", U"", U"tale"},
        {"only the name", U".fb2.zip", U"", U"", U".fb2"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(OfferedShelfName(row.document, row.author, row.title), row.offered);
    }
}

TEST(LibraryDialogRules, TrimNameDropsWhiteSpaceAtBothEnds) {
    struct Row {
        const char* name;
        std::u32string typed;
        std::u32string trimmed;
    };
    const Row rows[] = {
        {"nothing to trim", U"name", U"name"},
        {"both ends", U" \t name x \r\n", U"name x"},
        {"only white space", U" \t\r\n\v\f", U""},
        {"empty", U"", U""},
        {"inner space kept", U"a  b", U"a  b"},
        // Other spaces are characters of the name.
        {"no-break space kept", U"\u00A0name\u00A0", U"\u00A0name\u00A0"},
        {"ideographic space kept", U"\u3000\u65E5\u3000", U"\u3000\u65E5\u3000"},
        {"zero character kept", std::u32string(U"\0a", 2), std::u32string(U"\0a", 2)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(TrimName(row.typed), row.trimmed);
    }
}

}  // namespace
