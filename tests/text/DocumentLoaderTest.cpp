// Document kinds and names from paths, and reading TXT and HTML files. The
// real pages under tests/data/html are checked in HtmlPagesTest.cpp.
//
// Every file is written by the tests into a fresh temporary folder.

#include "TestText.h"
#include "text/TextDecoding.h"
#include "text/DocumentLoader.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "base/CodePage.h"
#include "TempFolder.h"

namespace {

namespace fs = std::filesystem;

TEST(DocumentPath, KindComesFromTheLastDotOfTheWholePath) {
    struct Case {
        const char* path;
        std::optional<DocumentKind> kind;
    };
    const Case cases[] = {
        {"report.Txt", DocumentKind::PlainText},
        {"page.HtMl", DocumentKind::Html},
        {"old.plg", DocumentKind::Html},
        {"/home/anna/book.HTM", DocumentKind::Html},
        {"letter.rtf", DocumentKind::RichText},
        {"archive.tar.txt", DocumentKind::PlainText},
        {"C:\\Docs\\notes.TXT", DocumentKind::PlainText},
        {".txt", DocumentKind::PlainText},
        {"tale.fb2", DocumentKind::Fb2},
        {"TALE.FB2", DocumentKind::Fb2},
        {"tale.fb2.zip", DocumentKind::Fb2Zip},
        {"tale.Fb2.ZiP", DocumentKind::Fb2Zip},
        {"/books/my.fb2.zip", DocumentKind::Fb2Zip},
        {"tale.zip", std::nullopt},  // a plain archive is not a document
        {"tale.fb2zip", std::nullopt},
        {"tale.fb2.zip.bak", std::nullopt},
        {"tale.epub", DocumentKind::Epub},
        {"Tale.EPUB", DocumentKind::Epub},
        {"paper.pdf", DocumentKind::Pdf},
        {"PAPER.PdF", DocumentKind::Pdf},
        {"letter.docx", DocumentKind::Docx},
        {"LETTER.DOCX", DocumentKind::Docx},
        {"letter.doc", std::nullopt},
        {"letter.odt", DocumentKind::Odt},
        {"letter.ODT", DocumentKind::Odt},
        {"book.pdf.txt", DocumentKind::PlainText},
        {"notes.text", std::nullopt},
        {"README", std::nullopt},
        {"my.docs/README", std::nullopt},  // the extension would be "DOCS/README"
        {"/home/anna/my.txt/README", std::nullopt},
        {"book.txt.bak", std::nullopt},
        {"book.", std::nullopt},
        {"book.tx", std::nullopt},
        {"book. txt", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(DocumentKindFromPath(c.path), c.kind);
    }
}

TEST(DocumentPath, NameIsThePartAfterTheLastSlashOfEitherKind) {
    struct Case {
        const char* label;
        std::string path;
        std::u32string name;
    };
    const Case cases[] = {
        {"plain name", "book.txt", U"book.txt"},
        {"unix path", "/home/anna/report.Txt", U"report.Txt"},
        {"windows path from an old shelf file", "C:\\Docs\\Old\\page.htm", U"page.htm"},
        {"both kinds", "/mnt/c\\Docs/sub\\x.htm", U"x.htm"},
        {"folder with a dot", "/home/my.docs/README", U"README"},
        {"utf-8 file name", "/home/анна/Война и мир.txt", U"Война и мир.txt"},
        {"a name in Windows-1251 bytes is read as such", "/tmp/\xC2\xEE\xE9\xED\xE0.txt",
         U"Война.txt"},
        {"path ending in a slash", "/home/anna/", U""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(DocumentNameFromPath(c.path), c.name);
    }
    EXPECT_EQ(PathFileName("/home/анна/Война.txt"), "Война.txt");
}

// File names are bytes; the desktop shows bytes that are not UTF-8 as U+FFFD
// and hands that text back. The path is found again from the folder's entries.
TEST(DocumentPath, PathsShownWithReplacementCharactersFindTheirFile) {
    TempFolder folder;
    const std::string r = "\xEF\xBF\xBD";  // U+FFFD as the desktop shows a stray byte
    const std::string real = folder.Write("\xFF\xFE dir/\xE0\xE1\xE2.txt", "text");
    folder.Write("two/\xE0.txt", "a");
    folder.Write("two/\xE1.txt", "b");
    const std::string literal = folder.Write("lit/" + r + ".txt", "c");
    struct Case {
        const char* label;
        std::string shown;
        std::string path;
    };
    const Case cases[] = {
        {"a file and its folder", folder.Path(r + r + " dir/" + r + r + r + ".txt"), real},
        {"one mark may stand for up to three bytes", folder.Path(r + " dir/" + r + ".txt"), real},
        {"two files shown alike stay as shown", folder.Path("two/" + r + ".txt"),
         folder.Path("two/" + r + ".txt")},
        {"a real U+FFFD in a name", literal, literal},
        {"no such file", folder.Path("none/" + r + ".txt"), folder.Path("none/" + r + ".txt")},
        {"a path without marks", folder.Path("a.txt"), folder.Path("a.txt")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(ResolveDisplayedPath(c.shown), c.path);
    }
    EXPECT_EQ(LoadDocumentFile(ResolveDisplayedPath(cases[0].shown), DocumentKind::PlainText).text,
              U"text");
}

// A path from the command line is relative to the folder the program was
// started in; the shelf must keep one that names the file from anywhere.
TEST(DocumentPath, RelativePathsBecomeAbsoluteAndNormal) {
    TempFolder folder;
    folder.Write("docs/a.txt", "a");
    folder.Write("work/w.txt", "w");
    const fs::path root = fs::canonical(folder.Path());
    fs::create_directory_symlink(root / "docs", root / "link");
    const fs::path before = fs::current_path();
    fs::current_path(root / "work");
    struct Case {
        const char* label;
        std::string given;
        fs::path path;
    };
    const Case cases[] = {
        {"up and over", "../docs/a.txt", root / "docs/a.txt"},
        {"dots and doubled slashes", ".//./../docs/./a.txt", root / "docs/a.txt"},
        {"a bare name", "w.txt", root / "work/w.txt"},
        {"a file that does not exist", "none.txt", root / "work/none.txt"},
        {"a folder that does not exist", "../gone/../docs/a.txt", root / "docs/a.txt"},
        {"up out of a linked folder", "../link/../work/w.txt", root / "work/w.txt"},
        {"through a linked folder", "../link/a.txt", root / "docs/a.txt"},
        {"already absolute", (root / "work/../docs/a.txt").string(), root / "docs/a.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(AbsoluteDocumentPath(c.given), c.path.string());
    }
    fs::current_path(before);
}

TEST(DocumentLoader, PlainTextFiles) {
    const std::u32string yo = U"Ёлка и ёж";
    struct Case {
        const char* label;
        std::string bytes;
        std::u32string text;
    };
    const Case cases[] = {
        {"zero-length file", "", U""},
        {"windows-1251 byte for byte, line breaks kept as they are",
         "\xA8\xEB\xEA\xE0\r\nline\nlast\r", U"Ёлка\r\nline\nlast\r"},
        {"utf-8 with a multi-byte sequence is transcoded", "Ёлка и ёж", yo},
        {"utf-8 mark dropped", "\xEF\xBB\xBFplain", U"plain"},
        {"utf-8 mark and text",
         "\xEF\xBB\xBF"
         "Ёлка и ёж",
         yo},
        {"ill-formed utf-8 is a legacy encoding", "\xD0\x81\xFF", FromCp1251("\xD0\x81\xFF")},
        {"zero bytes and HTML-looking text are kept", std::string("<p>a\0b", 6),
         std::u32string(U"<p>a\0b", 6)},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const LoadedText loaded =
            LoadDocumentFile(folder.Write("doc.txt", c.bytes), DocumentKind::PlainText);
        EXPECT_EQ(loaded.error, LoadError::None);
        EXPECT_EQ(loaded.text, c.text);
    }
}

TEST(DocumentLoader, FailuresCarryTheirReason) {
    TempFolder folder;
    const std::string text = folder.Write("a.txt", "text");
    EXPECT_EQ(LoadDocumentFile(folder.Path("missing.txt"), DocumentKind::PlainText).error,
              LoadError::OpenFailed);
    EXPECT_EQ(LoadDocumentFile(folder.Path("missing.htm"), DocumentKind::Html).error,
              LoadError::OpenFailed);
    folder.Write("folder.txt/inside", "x");
    EXPECT_EQ(LoadDocumentFile(folder.Path("folder.txt"), DocumentKind::PlainText).error,
              LoadError::OpenFailed);
    EXPECT_EQ(LoadDocumentFile(folder.Path("missing.rtf"), DocumentKind::RichText).error,
              LoadError::OpenFailed);
    // The extension does not decide how the bytes are read here: the caller does.
    const LoadedText rich =
        LoadDocumentFile(folder.Write("b.rtf", "{\\rtf1 plain {\\b bold}}"), DocumentKind::RichText);
    EXPECT_EQ(rich.text, U"plain bold");
    EXPECT_EQ(rich.runs.size(), 2u);
    EXPECT_TRUE(LoadDocumentFile(text, DocumentKind::PlainText).runs.empty());
}

TEST(DocumentLoader, TextBeyondTheLimitIsCut) {
    TempFolder folder;
    struct Case {
        const char* label;
        std::string name;
        DocumentKind kind;
        std::string bytes;
        std::u32string text;
        bool truncated;
    };
    constexpr std::size_t kLimit = 12;
    const std::string exact(kLimit, 'a');
    const std::string over = exact + "bcd";
    const std::u32string exactText(kLimit, U'a');
    // Two bytes of UTF-8 become one character: the cut counts characters.
    std::string utf8Over(2 * (kLimit + 1), '\xD1');
    for (std::size_t i = 1; i < utf8Over.size(); i += 2) utf8Over[i] = '\x8F';  // "я"
    // UTF-32 is read only as far as 12 characters go, so the 13th is unknown.
    std::string utf32 = std::string("\xFF\xFE\0\0", 4);
    for (const char c : std::string("one two three four")) utf32 += std::string({c, 0, 0, 0});
    const Case cases[] = {
        {"exactly the limit", "exact.txt", DocumentKind::PlainText, exact, exactText, false},
        {"no word ends", "over.txt", DocumentKind::PlainText, over, exactText, true},
        {"utf-8 cut after transcoding", "utf8.txt", DocumentKind::PlainText, utf8Over,
         std::u32string(kLimit, U'я'), true},
        {"at a word end", "words.txt", DocumentKind::PlainText, "one two three four", U"one two",
         true},
        {"at a paragraph end", "lines.txt", DocumentKind::PlainText, "one\r\ntwo three four",
         U"one", true},
        {"a word ending at the limit", "fits.txt", DocumentKind::PlainText, "one two abcd efg",
         U"one two abcd", true},
        {"utf-32 read in part", "utf32.txt", DocumentKind::PlainText, utf32, U"one two", true},
        {"converted HTML is cut", "over.htm", DocumentKind::Html, "<body>" + over, exactText, true},
        {"HTML at a word end", "words.htm", DocumentKind::Html, "<body>one two three four",
         U"one two", true},
        {"RTF at a word end", "words.rtf", DocumentKind::RichText,
         "{\\rtf1 one {\\b two three} four}", U"one two", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const LoadedText loaded = LoadDocumentFile(folder.Write(c.name, c.bytes), c.kind, kLimit);
        EXPECT_EQ(loaded.error, LoadError::None);
        EXPECT_EQ(ToUtf8(loaded.text), ToUtf8(c.text));
        EXPECT_EQ(loaded.truncated, c.truncated);
        if (!loaded.runs.empty()) {
            EXPECT_EQ(loaded.runs.back().start + loaded.runs.back().length, loaded.text.size());
        }
    }
}

// Only regular files are read, and never more than the text can use: a link
// to a device, a pipe or a huge file must neither hang the program nor fill
// its memory.
TEST(DocumentLoader, OnlyRegularFilesAreReadAndOnlyAsFarAsTheTextNeeds) {
    TempFolder folder;
    const std::string real = folder.Write("real.txt", "linked text");
    fs::create_symlink(real, folder.Path("link.txt"));
    fs::create_symlink("/dev/zero", folder.Path("zero.txt"));
    fs::create_symlink("/dev/urandom", folder.Path("random.rtf"));
    ASSERT_EQ(::mkfifo(folder.Path("pipe.txt").c_str(), 0644), 0);
    // Sparse files: large, yet they take no room on disk.
    const auto sparse = [&](const std::string& name, std::uintmax_t size) {
        const std::string path = folder.Write(name, "");
        fs::resize_file(path, size);
        return path;
    };
    const std::string hugeRtf = sparse("huge.rtf", kMaxWholeDocumentBytes + 1);
    const std::string hugeHtml = sparse("huge.html", kMaxWholeDocumentBytes + 1);
    const std::string hugeText = sparse("huge.txt", 200 * 1024 * 1024);
    struct Case {
        const char* label;
        std::string path;
        DocumentKind kind;
        LoadError error;
    };
    const Case cases[] = {
        {"a link to a regular file", folder.Path("link.txt"), DocumentKind::PlainText,
         LoadError::None},
        {"a link to /dev/zero", folder.Path("zero.txt"), DocumentKind::PlainText,
         LoadError::OpenFailed},
        {"a link to /dev/urandom", folder.Path("random.rtf"), DocumentKind::RichText,
         LoadError::OpenFailed},
        {"a pipe", folder.Path("pipe.txt"), DocumentKind::PlainText, LoadError::OpenFailed},
        {"RTF over the cap", hugeRtf, DocumentKind::RichText, LoadError::TooLarge},
        {"HTML over the cap", hugeHtml, DocumentKind::Html, LoadError::TooLarge},
        {"200 MB of plain text", hugeText, DocumentKind::PlainText, LoadError::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const LoadedText loaded = LoadDocumentFile(c.path, c.kind);
        EXPECT_EQ(loaded.error, c.error);
    }
    EXPECT_EQ(LoadDocumentFile(hugeText, DocumentKind::PlainText).text.size(), kMaxTextLength);
    EXPECT_EQ(LoadErrorMessage(LoadError::TooLarge), MessageCode::MSG_FILE_TOO_LARGE);
    EXPECT_EQ(LoadErrorMessage(LoadError::OpenFailed), MessageCode::MSG_FILE_OPEN_FAILED);
}

// A plain-text file is read only up to four bytes a character; the cut may
// fall inside a UTF-8 character, which must not turn the file into
// Windows-1251.
TEST(DocumentLoader, PlainTextCutInsideAUtf8CharacterStaysUtf8) {
    TempFolder folder;
    std::string zhe;
    for (int i = 0; i < 30; ++i) zhe += "\xD0\xB6";  // "ж", two bytes each
    // A limit of 10 characters reads 43 bytes: 21 letters and half of one.
    const LoadedText loaded =
        LoadDocumentFile(folder.Write("zhe.txt", zhe), DocumentKind::PlainText, 10);
    EXPECT_EQ(loaded.text, std::u32string(10, U'ж'));
}

TEST(DocumentLoader, HtmlFilesFollowTheCodePageRuleBeforeConversion) {
    struct Case {
        const char* label;
        std::string bytes;
        std::u32string text;
    };
    const Case cases[] = {
        {"windows-1251 page", "<body>\xC4\xE0 &copy;", U"Да ©"},
        {"utf-8 page", "<body>Да &copy; ©", U"Да © ©"},
        {"utf-8 mark before the page", "\xEF\xBB\xBF<body>x", U"x"},
        {"empty file", "", U""},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const LoadedText loaded =
            LoadDocumentFile(folder.Write("page.html", c.bytes), DocumentKind::Html);
        EXPECT_EQ(loaded.error, LoadError::None);
        EXPECT_EQ(loaded.text, c.text);
    }
}

}  // namespace
