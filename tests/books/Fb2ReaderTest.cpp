#include "books/Fb2Reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BookTestSupport.h"

// The samples under tests/data/books come from pandoc 2.17 and by hand;
// tests/data/books/README.md says how each was made, and each has the text we
// expect (<name>.txt, UTF-8, CR LF between paragraphs), checked by reading.

using namespace booktest;

namespace {

LoadedText Fb2(std::string_view bytes, std::size_t maxText = kMaxTextLength) {
    BookLimits limits;
    limits.maxTextLength = maxText;
    return ReadFb2(bytes, limits, {});
}

// A small book in UTF-8 whose body the encoding tests re-encode.
std::string SmallBook(std::string_view declaration, std::string_view paragraph) {
    return std::string(declaration) +
           "<FictionBook><description><title-info><book-title>Книга</book-title></title-info>"
           "</description><body><section><p>" +
           std::string(paragraph) + "</p></section></body></FictionBook>";
}

struct SampleCase {
    const char* file;
    bool zipped;
    const char* expected;
    const char* author;
    const char* title;
};

class Fb2Samples : public ::testing::TestWithParam<SampleCase> {};

TEST_P(Fb2Samples, GiveTheExpectedTextAndMetadata) {
    const SampleCase& sample = GetParam();
    const std::string bytes = Sample(sample.file);
    const LoadedText book = sample.zipped ? ReadFb2Zip(bytes, {}, {}) : ReadFb2(bytes, {}, {});
    ASSERT_EQ(book.error, LoadError::None);
    EXPECT_EQ(Utf8(book.text), Sample(sample.expected));
    EXPECT_EQ(Utf8(book.author), sample.author);
    EXPECT_EQ(Utf8(book.title), sample.title);
    ExpectWellFormed(book);
    // The same bytes give the same book, byte for byte.
    const LoadedText again = sample.zipped ? ReadFb2Zip(bytes, {}, {}) : ReadFb2(bytes, {}, {});
    EXPECT_EQ(again.text, book.text);
    EXPECT_EQ(again.runs, book.runs);
}

INSTANTIATE_TEST_SUITE_P(
    Books, Fb2Samples,
    ::testing::Values(SampleCase{"hand-1251.fb2", false, "hand-1251.txt",
                                 "Антон Павлович Чехов, Jane Doe", "Зимний вечер"},
                      SampleCase{"hand-1251.fb2.zip", true, "hand-1251.txt",
                                 "Антон Павлович Чехов, Jane Doe", "Зимний вечер"},
                      SampleCase{"pandoc.fb2", false, "pandoc.fb2.txt", "Мария Иванова, John Smith",
                                 "Две страны — Two Countries"}));

TEST(Fb2Reader, TitlesAndSubtitlesAreBoldEmphasisItalic) {
    const LoadedText book = ReadFb2(Sample("hand-1251.fb2"), {}, {});
    struct Case {
        const char* text;
        bool bold;
        bool italic;
    };
    for (const Case& c : std::vector<Case>{{"Зимний вечер", true, false},
                                           {"Глава первая", true, false},
                                           {"* * *", true, false},
                                           {"Стихи", true, false},
                                           {"Месяц", true, false},
                                           {"Январь", false, false},
                                           {"чудесный", false, true},
                                           {"друг прелестный", true, false},
                                           {"Мороз", false, false},
                                           {"Примечания", true, false}}) {
        const CharFormat format = FormatAt(book, c.text);
        EXPECT_EQ(format.bold, c.bold) << c.text;
        EXPECT_EQ(format.italic, c.italic) << c.text;
    }
}

TEST(Fb2Reader, HonoursTheDeclaredEncodingAndTheByteOrderMark) {
    const std::string paragraph = "Съешь же ещё этих мягких булок";
    const std::string utf8 = SmallBook("", paragraph);
    auto encode = [](const std::string& text, const char* charset) {
        const std::u32string code = U32(text);
        std::u16string utf16(code.begin(), code.end());  // the text is all in the BMP
        std::string out;
        if (std::string(charset) == "UTF-16LE") {
            out = "\xFF\xFE";
            for (char16_t c : utf16) {
                out += static_cast<char>(c & 0xFF);
                out += static_cast<char>(c >> 8);
            }
            return out;
        }
        // Single-byte code pages through ICU's converter, as Unicode to bytes.
        for (char32_t c : code) {
            if (c < 0x80) {
                out += static_cast<char>(c);
                continue;
            }
            for (int b = 0x80; b < 0x100; ++b) {
                const std::string byte(1, static_cast<char>(b));
                if (DecodeCharset(byte, charset).value() == std::u32string(1, c)) {
                    out += byte;
                    break;
                }
            }
        }
        return out;
    };
    struct Case {
        const char* name;
        std::string bytes;
    };
    const std::vector<Case> cases{
        {"no declaration", utf8},
        {"UTF-8 declared", SmallBook("<?xml version=\"1.0\" encoding=\"utf-8\"?>", paragraph)},
        {"UTF-8 with a mark", "\xEF\xBB\xBF" + utf8},
        {"windows-1251",
         encode(SmallBook("<?xml version=\"1.0\" encoding=\"windows-1251\"?>", paragraph),
                "windows-1251")},
        {"KOI8-R in single quotes",
         encode(SmallBook("<?xml version='1.0' encoding='KOI8-R'?>", paragraph), "KOI8-R")},
        {"UTF-16LE with a mark",
         encode(SmallBook("<?xml version=\"1.0\" encoding=\"UTF-16\"?>", paragraph), "UTF-16LE")},
    };
    for (const Case& c : cases) {
        const LoadedText book = Fb2(c.bytes);
        EXPECT_EQ(book.error, LoadError::None) << c.name;
        EXPECT_EQ(Utf8(book.text), paragraph) << c.name;
        EXPECT_EQ(Utf8(book.title), "Книга") << c.name;
    }
}

TEST(Fb2Reader, WhatIsNoFictionBookIsDamaged) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    const std::vector<Case> cases{
        {"empty", ""},
        {"plain text", "Просто текст, не XML."},
        {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
        {"another root", "<html><body><p>text</p></body></html>"},
        {"no body", "<FictionBook><description/></FictionBook>"},
        {"notes only", "<FictionBook><body name=\"notes\"><p>n</p></body></FictionBook>"},
    };
    for (const Case& c : cases) EXPECT_EQ(Fb2(c.bytes).error, LoadError::Damaged) << c.name;
}

TEST(Fb2Reader, ABookCutShortGivesWhatCameBeforeTheCut) {
    const std::string bytes = "<FictionBook><body><section><p>Первый абзац.</p><p>Второй абз";
    const LoadedText book = Fb2(bytes);
    ASSERT_EQ(book.error, LoadError::None);
    EXPECT_EQ(Utf8(book.text).substr(0, 24), "Первый абзац.");
}

TEST(Fb2Reader, DocumentTypeEntitiesAreNeverExpanded) {
    std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE FictionBook [<!ENTITY lol0 \"lol\">";
    for (int i = 1; i <= 9; ++i) {
        laughs += "<!ENTITY lol" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k) laughs += "&lol" + std::to_string(i - 1) + ";";
        laughs += "\">";
    }
    laughs +=
        "<!ENTITY loop \"&loop;\">]>"
        "<FictionBook><body><p>Смех &lol9; и &loop; и &undefined; конец</p></body>"
        "</FictionBook>";
    const LoadedText book = Fb2(laughs);
    ASSERT_TRUE(book.error == LoadError::None || book.error == LoadError::Damaged);
    EXPECT_LT(book.text.size(), 100u);
    if (book.error == LoadError::None) {
        EXPECT_EQ(Utf8(book.text).substr(0, 8), "Смех");
        ExpectWellFormed(book);
    }
}

TEST(Fb2Reader, DeepNestingNeitherCrashesNorLosesTheRest) {
    std::string bytes = "<FictionBook><body><section><p>Начало</p>";
    for (int i = 0; i < 100000; ++i) bytes += "<section>";
    bytes += "<p>глубоко</p>";
    for (int i = 0; i < 100000; ++i) bytes += "</section>";
    bytes += "<p>Конец</p></section></body></FictionBook>";
    const LoadedText book = Fb2(bytes);
    ASSERT_EQ(book.error, LoadError::None);
    EXPECT_EQ(Utf8(book.text), "Начало\r\nКонец");
}

TEST(Fb2Reader, EmptyLinesNeitherLeadNorTrail) {
    const LoadedText book =
        Fb2("<FictionBook><body><empty-line/><section><empty-line/><p>a</p><empty-line/>"
            "<empty-line/><p>b</p><empty-line/></section></body></FictionBook>");
    EXPECT_EQ(Utf8(book.text), "a\r\n\r\n\r\nb");
}

TEST(Fb2Reader, TheTextIsCutAtTheLimit) {
    const std::u32string whole = ReadFb2(Sample("hand-1251.fb2"), {}, {}).text;
    // "Зимний вечер" is 12 characters, then CR LF: a break is never cut in
    // half, nor does a cut text end with one. A cut falls where the last
    // paragraph before the limit ends ("Глава первая" at 73, the notes' title
    // at the end), and in a word only when nothing before it ends.
    struct Case {
        std::size_t limit;
        std::size_t length;
    };
    for (const Case& c : std::vector<Case>{{0, 0},
                                           {1, 1},
                                           {12, 12},
                                           {13, 12},
                                           {14, 12},
                                           {15, 12},
                                           {100, 73},
                                           {whole.size() - 1, whole.rfind(U'\r')},
                                           {whole.size(), whole.size()},
                                           {whole.size() + 1, whole.size()}}) {
        const LoadedText book = Fb2(Sample("hand-1251.fb2"), c.limit);
        ASSERT_EQ(book.error, LoadError::None) << c.limit;
        EXPECT_EQ(book.text.size(), c.length) << c.limit;
        EXPECT_EQ(book.truncated, c.limit < whole.size()) << c.limit;
        EXPECT_EQ(whole.substr(0, book.text.size()), book.text) << c.limit;
        ExpectWellFormed(book);
    }
}

TEST(Fb2Reader, ProgressCountsTopLevelSectionsAndCancelStops) {
    std::vector<std::pair<std::size_t, std::size_t>> calls;
    const LoadedText book =
        ReadFb2(Sample("hand-1251.fb2"), {}, [&](std::size_t done, std::size_t total) {
            calls.emplace_back(done, total);
            return true;
        });
    ASSERT_EQ(book.error, LoadError::None);
    // Two chapters of the main body and one note.
    const std::vector<std::pair<std::size_t, std::size_t>> expected{{0, 3}, {1, 3}, {2, 3}, {3, 3}};
    EXPECT_EQ(calls, expected);

    for (std::size_t stopAt = 0; stopAt < expected.size(); ++stopAt) {
        std::size_t count = 0;
        const LoadedText stopped =
            ReadFb2(Sample("hand-1251.fb2"), {},
                    [&](std::size_t, std::size_t) { return count++ < stopAt; });
        EXPECT_EQ(stopped.error, LoadError::Cancelled) << stopAt;
        EXPECT_TRUE(stopped.text.empty());
        EXPECT_EQ(count, stopAt + 1);
    }
}

TEST(Fb2Zip, TakesTheFirstFb2EntryInAnyLetterCase) {
    const std::string first = SmallBook("", "первая");
    const std::string second = SmallBook("", "вторая");
    const std::string bytes = MakeZip(
        {{"cover.jpg", "\xFF\xD8"}, {"dir/", ""}, {"Book.FB2", first}, {"other.fb2", second}});
    const LoadedText book = ReadFb2Zip(bytes, {}, {});
    ASSERT_EQ(book.error, LoadError::None);
    EXPECT_EQ(Utf8(book.text), "первая");
}

TEST(Fb2Zip, ArchivesThatCannotBeReadSayWhy) {
    const std::string book = SmallBook("", "текст");
    const std::string good = MakeZip({{"book.fb2", book}});
    struct Case {
        const char* name;
        std::string bytes;
        LoadError error;
    };
    const std::vector<Case> cases{
        {"no fb2 entry", MakeZip({{"book.txt", book}}), LoadError::Damaged},
        {"empty archive", MakeZip({}), LoadError::Damaged},
        {"not a zip", book, LoadError::Damaged},
        {"cut in half", good.substr(0, good.size() / 2), LoadError::Damaged},
        {"cut before the directory's end", good.substr(0, good.size() - 10), LoadError::Damaged},
        {"password", MakeZip({{"book.fb2", book, true}}), LoadError::Encrypted},
        {"damaged entry", MakeZip({{"book.fb2", "not a book"}}), LoadError::Damaged},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadFb2Zip(c.bytes, {}, {}).error, c.error) << c.name;
}

TEST(Fb2Zip, ABombStopsAtTheUnpackingCap) {
    // 300 MB of zeros, deflated to 300 KB.
    const std::string bomb = Sample("bomb.fb2.zip");
    EXPECT_EQ(ReadFb2Zip(bomb, {}, {}).error, LoadError::BookTooLarge);

    BookLimits small;
    small.maxUnpackedBytes = 1000;
    const std::string book = SmallBook("", std::string(2000, 'x'));
    EXPECT_EQ(ReadFb2Zip(MakeZip({{"book.fb2", book}}), small, {}).error, LoadError::BookTooLarge);
    small.maxUnpackedBytes = book.size();
    EXPECT_EQ(ReadFb2Zip(MakeZip({{"book.fb2", book}}), small, {}).error, LoadError::None);
}

}  // namespace
