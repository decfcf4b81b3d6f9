// EPUB books: the samples made by pandoc and LibreOffice, and archives built
// here to hold one fault each.

#include "books/EpubReader.h"

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "MemoryZip.h"
#include "TestText.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Sample(const std::string& name) {
    return ReadFile(std::string(LMN_TEST_DATA) + "/books/" + name);
}

std::string Utf8(std::u32string_view text) { return ToUtf8(text); }

LoadedText Read(std::string_view bytes, BookLimits limits = {}) {
    return ReadEpub(bytes, limits, [](std::size_t, std::size_t) { return true; });
}

const char* const kContainer =
    R"(<?xml version="1.0"?><container version="1.0" xmlns="urn:oasis:names:tc:opendocument:xmlns:container">)"
    R"(<rootfiles><rootfile full-path="OEBPS/content.opf" media-type="application/oebps-package+xml"/>)"
    R"(</rootfiles></container>)";

std::string Chapter(std::string_view body) {
    return std::string(
               R"(<?xml version="1.0" encoding="UTF-8"?><html xmlns="http://www.w3.org/1999/xhtml">)"
               R"(<head><title>t</title></head><body>)") +
           std::string(body) + "</body></html>";
}

// A package with the manifest's items and the spine's itemrefs as given.
std::string Package(std::string_view manifest, std::string_view spine) {
    return std::string(R"(<?xml version="1.0" encoding="UTF-8"?>)"
                       R"(<package xmlns="http://www.idpf.org/2007/opf" version="3.0">)"
                       R"(<metadata xmlns:dc="http://purl.org/dc/elements/1.1/">)"
                       R"(<dc:title>T</dc:title></metadata><manifest>)") +
           std::string(manifest) + "</manifest><spine>" + std::string(spine) + "</spine></package>";
}

// An EPUB of three chapters whose texts are "One", "Two", "Three".
std::vector<MemoryZipEntry> ThreeChapters() {
    return {
        {"mimetype", "application/epub+zip", true},
        {"META-INF/container.xml", kContainer},
        {"OEBPS/content.opf",
         Package(R"(<item id="a" href="a.xhtml" media-type="application/xhtml+xml"/>)"
                 R"(<item id="b" href="b.xhtml" media-type="application/xhtml+xml"/>)"
                 R"(<item id="c" href="c.xhtml" media-type="application/xhtml+xml"/>)",
                 R"(<itemref idref="a"/><itemref idref="b"/><itemref idref="c"/>)")},
        {"OEBPS/a.xhtml", Chapter("<p>One</p>")},
        {"OEBPS/b.xhtml", Chapter("<p>Two</p>")},
        {"OEBPS/c.xhtml", Chapter("<p>Three</p>")},
    };
}

std::vector<MemoryZipEntry> Without(std::vector<MemoryZipEntry> entries, std::string_view name) {
    std::erase_if(entries, [&](const MemoryZipEntry& e) { return e.name == name; });
    return entries;
}

std::vector<MemoryZipEntry> With(std::vector<MemoryZipEntry> entries, MemoryZipEntry entry) {
    for (MemoryZipEntry& e : entries) {
        if (e.name == entry.name) {
            e = std::move(entry);
            return entries;
        }
    }
    entries.push_back(std::move(entry));
    return entries;
}

TEST(EpubReader, SamplesGiveTheirExpectedText) {
    struct Case {
        const char* epub;
        const char* expected;
        const char* author;
        std::size_t boldRuns;  // one for each heading
    };
    const Case cases[] = {
        {"pandoc-epub3.epub", "pandoc-epub.txt", "Анна Петрова, John Smith", 4},
        {"pandoc-epub2.epub", "pandoc-epub.txt", "Анна Петрова, John Smith", 4},
        // LibreOffice writes its headings as styled paragraphs and both
        // authors in one dc:creator.
        {"libreoffice.epub", "libreoffice.txt", "Анна Петрова; John Smith", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.epub);
        const LoadedText book = Read(Sample(c.epub));
        ASSERT_EQ(book.error, LoadError::None);
        EXPECT_EQ(Utf8(book.text), ReadFile(std::string(LMN_TEST_DATA) + "/books/" + c.expected));
        EXPECT_EQ(Utf8(book.author), c.author);
        EXPECT_EQ(Utf8(book.title), "Зимний вечер и другие страницы");
        std::size_t bold = 0;
        std::size_t at = 0;
        for (const TextRun& run : book.runs) {
            EXPECT_EQ(run.start, at);
            at += run.length;
            if (run.format.bold) ++bold;
        }
        if (!book.runs.empty()) {
            EXPECT_EQ(at, book.text.size());
        }
        EXPECT_EQ(bold, c.boldRuns);
    }
}

TEST(EpubReader, HeadingsAreBoldAndNothingElse) {
    const LoadedText book = Read(MakeMemoryZip(
        With(ThreeChapters(),
             {"OEBPS/a.xhtml",
              Chapter("<h1>Title <i>x</i></h1>\n<p>Body</p><h2 class=\"s\">Sub</h2>")})));
    ASSERT_EQ(book.error, LoadError::None);
    EXPECT_EQ(Utf8(book.text), "Title x\r\nBody\r\nSub\r\nTwo\r\nThree");
    CharFormat bold;
    bold.bold = true;
    const std::vector<TextRun> runs = {{0, 7, bold}, {7, 8, {}}, {15, 3, bold}, {18, 12, {}}};
    EXPECT_EQ(book.runs, runs);
}

TEST(EpubReader, ChaptersFollowTheSpineNotTheManifest) {
    auto entries = ThreeChapters();
    entries = With(entries,
                   {"OEBPS/content.opf",
                    Package(R"(<item id="a" href="a.xhtml" media-type="application/xhtml+xml"/>)"
                            R"(<item id="b" href="b.xhtml" media-type="application/xhtml+xml"/>)"
                            R"(<item id="c" href="c.xhtml" media-type="application/xhtml+xml"/>)",
                            R"(<itemref idref="c"/><itemref idref="a"/><itemref idref="b"/>)")});
    EXPECT_EQ(Utf8(Read(MakeMemoryZip(entries)).text), "Three\r\nOne\r\nTwo");
}

TEST(EpubReader, SkipsNonLinearNavigationAndNcx) {
    auto entries = ThreeChapters();
    entries = With(
        entries,
        {"OEBPS/content.opf",
         Package(
             R"(<item id="nav" href="nav.xhtml" media-type="application/xhtml+xml" properties="scripted nav"/>)"
             R"(<item id="ncx" href="toc.ncx" media-type="application/x-dtbncx+xml"/>)"
             R"(<item id="a" href="a.xhtml" media-type="application/xhtml+xml"/>)"
             R"(<item id="b" href="b.xhtml" media-type="application/xhtml+xml"/>)"
             R"(<item id="c" href="c.xhtml" media-type="application/xhtml+xml"/>)",
             R"(<itemref idref="nav"/><itemref idref="ncx"/><itemref idref="a"/>)"
             R"(<itemref idref="b" linear="no"/><itemref idref="c" linear="yes"/>)")});
    entries = With(entries, {"OEBPS/nav.xhtml", Chapter("<nav><ol><li>Contents</li></ol></nav>")});
    entries = With(entries, {"OEBPS/toc.ncx", "<ncx><navMap>Contents</navMap></ncx>"});
    EXPECT_EQ(Utf8(Read(MakeMemoryZip(entries)).text), "One\r\nThree");
}

TEST(EpubReader, PathsAreRelativeToThePackageAndPercentDecoded) {
    auto entries = Without(ThreeChapters(), "OEBPS/b.xhtml");
    entries = With(
        entries,
        {"OEBPS/content.opf",
         Package(
             R"(<item id="a" href="a.xhtml" media-type="application/xhtml+xml"/>)"
             R"(<item id="b" href="Text/../../Other%20Folder/%D0%B3%D0%BB.xhtml#top" media-type="application/xhtml+xml"/>)",
             R"(<itemref idref="a"/><itemref idref="b"/>)")});
    entries = With(entries, {"Other Folder/гл.xhtml", Chapter("<p>Глава</p>")});
    EXPECT_EQ(Utf8(Read(MakeMemoryZip(entries)).text), "One\r\nГлава");
}

TEST(EpubReader, MissingPartsOfTheSpineAreSkipped) {
    // The archive lacks b.xhtml; the spine also names an id the manifest lacks.
    auto entries = Without(ThreeChapters(), "OEBPS/b.xhtml");
    const LoadedText book = Read(MakeMemoryZip(entries));
    ASSERT_EQ(book.error, LoadError::None);
    EXPECT_EQ(Utf8(book.text), "One\r\nThree");
    entries = With(entries,
                   {"OEBPS/content.opf",
                    Package(R"(<item id="a" href="a.xhtml" media-type="application/xhtml+xml"/>)",
                            R"(<itemref idref="x"/><itemref idref="a"/>)")});
    EXPECT_EQ(Utf8(Read(MakeMemoryZip(entries)).text), "One");
}

TEST(EpubReader, Failures) {
    const std::string whole = MakeMemoryZip(ThreeChapters());
    struct Case {
        const char* label;
        std::string bytes;
        LoadError error;
    };
    const Case cases[] = {
        {"empty", "", LoadError::Damaged},
        {"not a zip", "<html><body>text</body></html>", LoadError::Damaged},
        {"truncated", whole.substr(0, whole.size() / 2), LoadError::Damaged},
        {"truncated directory", whole.substr(0, whole.size() - 10), LoadError::Damaged},
        {"no container", MakeMemoryZip(Without(ThreeChapters(), "META-INF/container.xml")),
         LoadError::Damaged},
        {"container names no package",
         MakeMemoryZip(With(ThreeChapters(),
                            {"META-INF/container.xml", "<container><rootfiles/></container>"})),
         LoadError::Damaged},
        {"container not XML",
         MakeMemoryZip(
             With(ThreeChapters(), {"META-INF/container.xml", "<container><rootfile full-path="})),
         LoadError::Damaged},
        {"no package", MakeMemoryZip(Without(ThreeChapters(), "OEBPS/content.opf")),
         LoadError::Damaged},
        {"package without spine",
         MakeMemoryZip(
             With(ThreeChapters(), {"OEBPS/content.opf", "<package><manifest/></package>"})),
         LoadError::Damaged},
        {"no chapter in the archive",
         MakeMemoryZip(Without(Without(Without(ThreeChapters(), "OEBPS/a.xhtml"), "OEBPS/b.xhtml"),
                               "OEBPS/c.xhtml")),
         LoadError::Damaged},
        {"only pictures",
         MakeMemoryZip(
             With(With(With(ThreeChapters(), {"OEBPS/a.xhtml", Chapter("<img src='1.jpg'/>")}),
                       {"OEBPS/b.xhtml", Chapter(" ")}),
                  {"OEBPS/c.xhtml", Chapter("")})),
         LoadError::NoText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const LoadedText book = Read(c.bytes);
        EXPECT_EQ(book.error, c.error);
        EXPECT_TRUE(book.text.empty());
    }
}

TEST(EpubReader, EncryptedContentIsRefusedButObfuscatedFontsAreNot) {
    const auto encryption = [](std::string_view uri, std::string_view algorithm) {
        return MemoryZipEntry{
            "META-INF/encryption.xml",
            std::string(R"(<encryption xmlns="urn:oasis:names:tc:opendocument:xmlns:container" )"
                        R"(xmlns:enc="http://www.w3.org/2001/04/xmlenc#"><enc:EncryptedData>)"
                        R"(<enc:EncryptionMethod Algorithm=")") +
                std::string(algorithm) + R"("/><enc:CipherData><enc:CipherReference URI=")" +
                std::string(uri) + R"("/></enc:CipherData></enc:EncryptedData></encryption>)"};
    };
    const char* const aes = "http://www.w3.org/2001/04/xmlenc#aes128-cbc";
    const char* const fonts = "http://www.idpf.org/2008/embedding";
    struct Case {
        const char* label;
        std::vector<MemoryZipEntry> entries;
        LoadError error;
    };
    const Case cases[] = {
        {"a chapter", With(ThreeChapters(), encryption("OEBPS/b.xhtml", aes)),
         LoadError::Encrypted},
        {"a chapter, escaped", With(ThreeChapters(), encryption("OEBPS/%62.xhtml", aes)),
         LoadError::Encrypted},
        {"a font", With(ThreeChapters(), encryption("OEBPS/fonts/a.otf", fonts)), LoadError::None},
        {"a picture", With(ThreeChapters(), encryption("OEBPS/cover.jpg", aes)), LoadError::None},
        {"a password on a chapter",
         With(ThreeChapters(), {"OEBPS/c.xhtml", Chapter("<p>Three</p>"), false, "secret"}),
         LoadError::Encrypted},
        {"a password on the container",
         With(ThreeChapters(), {"META-INF/container.xml", kContainer, false, "secret"}),
         LoadError::Encrypted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Read(MakeMemoryZip(c.entries)).error, c.error);
    }
}

TEST(EpubReader, DecodesEachChapterInItsDeclaredEncoding) {
    auto entries = ThreeChapters();
    // "Два" in Windows-1251, then a chapter without a declaration, read as UTF-8.
    entries =
        With(entries, {"OEBPS/b.xhtml",
                       "<?xml version='1.0' "
                       "encoding='windows-1251'?><html><body><p>\xC4\xE2\xE0</p></body></html>"});
    entries =
        With(entries, {"OEBPS/c.xhtml", "<html><body><p>Три &apos;3&apos;</p></body></html>"});
    EXPECT_EQ(Utf8(Read(MakeMemoryZip(entries)).text), "One\r\nДва\r\nТри '3'");
}

TEST(EpubReader, TextIsCutAtTheLimit) {
    BookLimits limits;
    limits.maxTextLength = 7;
    const LoadedText book = Read(MakeMemoryZip(ThreeChapters()), limits);
    ASSERT_EQ(book.error, LoadError::None);
    // Where the first chapter ends, not in the second's word.
    EXPECT_EQ(Utf8(book.text), "One");
    EXPECT_TRUE(book.truncated);
}

TEST(EpubReader, UnpackingPastTheCapIsTooLarge) {
    // Ten megabytes of one letter deflate to a few kilobytes.
    auto entries = With(ThreeChapters(), {"OEBPS/b.xhtml", Chapter(std::string(10 << 20, 'x'))});
    const std::string bytes = MakeMemoryZip(entries);
    ASSERT_LT(bytes.size(), 100u * 1024);
    BookLimits limits;
    limits.maxUnpackedBytes = 1 << 20;
    EXPECT_EQ(Read(bytes, limits).error, LoadError::BookTooLarge);
    limits.maxUnpackedBytes = 11 << 20;
    EXPECT_EQ(Read(bytes, limits).error, LoadError::None);
}

TEST(EpubReader, ProgressCountsChaptersAndCancels) {
    const std::string bytes = MakeMemoryZip(ThreeChapters());
    std::vector<std::pair<std::size_t, std::size_t>> calls;
    const LoadedText book = ReadEpub(bytes, {}, [&](std::size_t done, std::size_t total) {
        calls.emplace_back(done, total);
        return true;
    });
    EXPECT_EQ(book.error, LoadError::None);
    const std::vector<std::pair<std::size_t, std::size_t>> expected = {{1, 3}, {2, 3}, {3, 3}};
    EXPECT_EQ(calls, expected);

    for (std::size_t stopAt = 1; stopAt <= 3; ++stopAt) {
        const LoadedText stopped =
            ReadEpub(bytes, {}, [&](std::size_t done, std::size_t) { return done < stopAt; });
        EXPECT_EQ(stopped.error, LoadError::Cancelled);
        EXPECT_TRUE(stopped.text.empty());
    }
}

TEST(EpubReader, SameBytesSameText) {
    const std::string bytes = Sample("pandoc-epub3.epub");
    const LoadedText first = Read(bytes);
    for (int i = 0; i < 3; ++i) {
        const LoadedText again = Read(bytes);
        EXPECT_EQ(again.text, first.text);
        EXPECT_EQ(again.runs, first.runs);
        EXPECT_EQ(again.author, first.author);
        EXPECT_EQ(again.title, first.title);
    }
}

}  // namespace
