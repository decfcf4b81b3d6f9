#include "books/PdfReader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "TestText.h"

namespace {

const std::string kData = LMN_TEST_DATA "/books/";

std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// The expected texts keep one paragraph a line, as they are easier to check
// by eye; the reader separates paragraphs by CR LF.
std::u32string Expected(const std::string& name) {
    std::u32string text = FromUtf8(ReadBytes(kData + name));
    std::u32string paragraphs;
    for (char32_t c : text) {
        if (c == U'\n') paragraphs += U'\r';
        paragraphs += c;
    }
    return paragraphs;
}

TEST(PdfReader, SampleMadeByLibreOfficeReadsAsItsParagraphs) {
    const LoadedText book = ReadPdf(ReadBytes(kData + "sample.pdf"), {}, {});
    ASSERT_EQ(book.error, LoadError::None);
    EXPECT_EQ(book.text, Expected("sample.pdf.txt"));
    EXPECT_EQ(book.title, U"Образцы текста");
    EXPECT_EQ(book.author, U"Анна Иванова");
    // Read by path the same file gives the very same text.
    EXPECT_EQ(ReadPdfFile(kData + "sample.pdf", {}, {}).text, book.text);
}

TEST(PdfReader, SampleTextKeepsWhatAReaderNeedsAndDropsThePageFurniture) {
    const std::u32string text = ReadPdf(ReadBytes(kData + "sample.pdf"), {}, {}).text;
    struct Case {
        const char* label;
        std::u32string fragment;
        bool present;
    };
    const Case cases[] = {
        {"running header", U"Sample texts", false},
        {"page number footer", U"Страница", false},
        {"word broken at a line end joined", U"путешественников, приезжающих", true},
        {"English word broken at a line end", U"documentation accompanies", true},
        {"no hyphen left from a break", U"приез-", false},
        {"poem lines stay apart", U"Мороз и солнце; день чудесный!\r\nЕщё ты дремлешь", true},
        {"heading is a paragraph", U"\r\nChapter Two. Tables\r\n", true},
        {"table row is one line", U"\r\nАпельсин 12\r\n", true},
        {"paragraph going on over a page break", U"jumps over the lazy dog. The quick", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(text.find(c.fragment) != std::u32string::npos, c.present);
    }
}

// The format of the run holding the character at position.
std::optional<bool> BoldAt(const LoadedText& book, std::size_t position) {
    for (const TextRun& run : book.runs) {
        if (position >= run.start && position < run.start + run.length) return run.format.bold;
    }
    return std::nullopt;
}

TEST(PdfReader, HeadingsSetInABoldFaceAreBoldRuns) {
    const LoadedText book = ReadPdf(ReadBytes(kData + "sample.pdf"), {}, {});
    ASSERT_FALSE(book.runs.empty());
    // The runs cover the text from 0 without gaps, neighbours differing.
    std::size_t end = 0;
    for (std::size_t i = 0; i < book.runs.size(); ++i) {
        EXPECT_EQ(book.runs[i].start, end);
        if (i > 0) {
            EXPECT_NE(book.runs[i].format, book.runs[i - 1].format);
        }
        end += book.runs[i].length;
    }
    EXPECT_EQ(end, book.text.size());
    const std::pair<std::u32string, bool> cases[] = {
        {U"Глава первая. Город", true}, {U"Стихотворение", true},   {U"Chapter Two. Tables", true},
        {U"Это первый абзац", false},   {U"Мороз и солнце", false}, {U"Апельсин", false},
    };
    for (const auto& [fragment, bold] : cases) {
        SCOPED_TRACE(ToUtf8(fragment));
        const std::size_t at = book.text.find(fragment);
        ASSERT_NE(at, std::u32string::npos);
        EXPECT_EQ(BoldAt(book, at), bold);
        EXPECT_EQ(BoldAt(book, at + fragment.size() - 1), bold);
    }
}

TEST(PdfReader, FilesThatCannotBeReadSayWhy) {
    const std::string sample = ReadBytes(kData + "sample.pdf");
    struct Case {
        const char* label;
        std::string bytes;
        LoadError error;
    };
    const Case cases[] = {
        {"user password", ReadBytes(kData + "sample-password.pdf"), LoadError::Encrypted},
        {"a picture of a page only", ReadBytes(kData + "sample-scanned.pdf"), LoadError::NoText},
        {"empty file", "", LoadError::Damaged},
        {"not a PDF", "Just some words, not a PDF at all.", LoadError::Damaged},
        {"header only", "%PDF-1.7\n", LoadError::Damaged},
        {"first kilobyte of a real one", sample.substr(0, 1024), LoadError::Damaged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const LoadedText book = ReadPdf(c.bytes, {}, {});
        EXPECT_EQ(book.error, c.error);
        EXPECT_TRUE(book.text.empty());
    }
}

TEST(PdfReader, DamagedBytesNeverCrashAndAlwaysGiveTheSameResult) {
    const std::string sample = ReadBytes(kData + "sample.pdf");
    for (std::size_t step : {7u, 101u, 997u}) {
        std::string bytes = sample;
        for (std::size_t i = bytes.size() / 3; i < bytes.size(); i += step) bytes[i] = '\x5A';
        SCOPED_TRACE(step);
        const LoadedText first = ReadPdf(bytes, {}, {});
        const LoadedText second = ReadPdf(bytes, {}, {});
        EXPECT_EQ(first.error, second.error);
        EXPECT_EQ(first.text, second.text);
    }
}

TEST(PdfReader, ProgressCountsPagesAndCancelStops) {
    const std::string sample = ReadBytes(kData + "sample.pdf");
    std::vector<std::pair<std::size_t, std::size_t>> told;
    const LoadedText whole = ReadPdf(sample, {}, [&](std::size_t done, std::size_t total) {
        told.emplace_back(done, total);
        return true;
    });
    ASSERT_EQ(whole.error, LoadError::None);
    ASSERT_FALSE(told.empty());
    const std::size_t pages = told.back().second;
    EXPECT_GE(pages, 3u);
    for (std::size_t i = 0; i < told.size(); ++i) EXPECT_EQ(told[i], std::make_pair(i + 1, pages));

    std::size_t calls = 0;
    const LoadedText stopped = ReadPdf(sample, {}, [&](std::size_t done, std::size_t) {
        ++calls;
        return done < 2;
    });
    EXPECT_EQ(stopped.error, LoadError::Cancelled);
    EXPECT_TRUE(stopped.text.empty());
    EXPECT_EQ(calls, 2u);
}

TEST(PdfReader, TextIsCutAtTheLimit) {
    BookLimits limits;
    limits.maxTextLength = 40;
    const LoadedText book = ReadPdf(ReadBytes(kData + "sample.pdf"), limits, {});
    ASSERT_EQ(book.error, LoadError::None);
    // The 40th character is in the second paragraph's third word: the cut
    // falls where the heading ends.
    EXPECT_EQ(book.text, Expected("sample.pdf.txt").substr(0, 19));
    EXPECT_TRUE(book.truncated);
    ASSERT_FALSE(book.runs.empty());
    EXPECT_EQ(book.runs.back().start + book.runs.back().length, 19u);
}

}  // namespace
