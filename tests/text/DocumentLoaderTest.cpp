
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "TestText.h"
#include "text/DocumentLoader.h"

namespace {

namespace fs = std::filesystem;
using K = DocumentKind;

TEST(DocumentPath, KindFromTheLastDotAndNameFromTheLastSlash) {
    const std::pair<const char*, std::optional<K>> cases[] = {
        {"report.Txt", K::PlainText},
        {"page.HtMl", K::Html},
        {"old.plg", K::Html},
        {"letter.rtf", K::RichText},
        {".txt", K::PlainText},
        {"TALE.FB2", K::Fb2},
        {"tale.Fb2.ZiP", K::Fb2Zip},
        {"tale.zip", {}},
        {"tale.fb2zip", {}},
        {"tale.fb2.zip.bak", {}},
        {"Tale.EPUB", K::Epub},
        {"PAPER.PdF", K::Pdf},
        {"LETTER.DOCX", K::Docx},
        {"l.ODT", K::Odt},
        {"book.pdf.txt", K::PlainText},
        {"README", {}},
        {"my.docs/README", {}},
        {"book.", {}},
        {"book. txt", {}},
        {"", {}},
    };
    for (const auto& [path, kind] : cases) EXPECT_EQ(DocumentKindFromPath(path), kind) << path;
    for (const K kind : {K::PlainText, K::RichText, K::Html}) EXPECT_FALSE(IsBookKind(kind));
    for (const K kind : {K::Fb2, K::Fb2Zip, K::Epub, K::Pdf, K::Docx, K::Odt})
        EXPECT_TRUE(IsBookKind(kind));
    // The name is the part after the last slash of either kind.
    const std::pair<std::string, std::u32string> names[] = {
        {"book.txt", U"book.txt"},
        {"C:\\Docs\\Old\\page.htm", U"page.htm"},
        {"/mnt/c\\Docs/sub\\x.htm", U"x.htm"},
        {"/home/анна/Война и мир.txt", U"Война и мир.txt"},
        {"/tmp/\xC2\xEE\xE9\xED\xE0.txt", U"Война.txt"},  // Windows-1251 bytes
        {"/home/anna/", U""},
    };
    for (const auto& [path, name] : names) EXPECT_EQ(DocumentNameFromPath(path), name) << path;
    EXPECT_EQ(PathFileName("/home/анна/Война.txt"), "Война.txt");
}

// Names shown with U+FFFD for bytes that are not UTF-8 are found again in the folder.
TEST(DocumentPath, ShownAndRelativePathsFindTheirFile) {
    TempFolder folder;
    const std::string r = "\xEF\xBF\xBD";
    const std::string real = folder.Write("\xFF\xFE dir/\xE0\xE1\xE2.txt", "text");
    folder.Write("two/\xE0.txt", "a");
    folder.Write("two/\xE1.txt", "b");
    const std::string literal = folder.Write("lit/" + r + ".txt", "c");
    const std::pair<std::string, std::string> cases[] = {
        {folder.Path(r + r + " dir/" + r + r + r + ".txt"), real},
        {folder.Path(r + " dir/" + r + ".txt"), real},  // one mark for up to three bytes
        {folder.Path("two/" + r + ".txt"), folder.Path("two/" + r + ".txt")},  // two alike
        {literal, literal},
        {folder.Path("none/" + r + ".txt"), folder.Path("none/" + r + ".txt")},
        {folder.Path("a.txt"), folder.Path("a.txt")},
    };
    for (const auto& [shown, path] : cases) EXPECT_EQ(ResolveDisplayedPath(shown), path) << shown;
    // A path from the command line is relative to the folder the program was started in.
    folder.Write("docs/a.txt", "a");
    folder.Write("work/w.txt", "w");
    const fs::path root = fs::canonical(folder.Path());
    fs::create_directory_symlink(root / "docs", root / "link");
    const fs::path before = fs::current_path();
    fs::current_path(root / "work");
    const std::pair<std::string, fs::path> relative[] = {
        {"../docs/a.txt", root / "docs/a.txt"},
        {".//./../docs/./a.txt", root / "docs/a.txt"},
        {"w.txt", root / "work/w.txt"},
        {"none.txt", root / "work/none.txt"},
        {"../gone/../docs/a.txt", root / "docs/a.txt"},
        {"../link/../work/w.txt", root / "work/w.txt"},
        {"../link/a.txt", root / "docs/a.txt"},
        {(root / "work/../docs/a.txt").string(), root / "docs/a.txt"},
    };
    for (const auto& [given, path] : relative)
        EXPECT_EQ(AbsoluteDocumentPath(given), path.string()) << given;
    fs::current_path(before);
}

// Rows with a limit of 12 (or 10) cut the text; the others are read whole.
TEST(DocumentLoader, ReadsEachKindAndCutsTextBeyondTheLimit) {
    constexpr std::size_t N = kMaxTextLength;
    const std::string exact(12, 'a'), over = exact + "bcd";
    std::string utf8Over, zhe;  // two bytes a character: the cut counts characters
    for (int i = 0; i <= 12; ++i) utf8Over += "я";
    for (int i = 0; i < 30; ++i) zhe += "ж";  // 43 bytes read for 10 characters, still UTF-8
    // UTF-32 is read only as far as 12 characters go, so the 13th is unknown.
    std::string utf32 = std::string("\xFF\xFE\0\0", 4);
    for (const char c : std::string("one two three four")) utf32 += std::string({c, 0, 0, 0});
    const std::tuple<const char*, std::string, std::u32string, std::size_t, bool> cases[] = {
        {"a.txt", "", U"", N, false},
        {"a.txt", "\xA8\xEB\xEA\xE0\r\nline\nlast\r", U"Ёлка\r\nline\nlast\r", N, false},
        {"a.txt", "Ёлка и ёж", U"Ёлка и ёж", N, false},
        {"a.txt", "\xD0\x81\xFF", FromCp1251("\xD0\x81\xFF"), N, false},
        {"a.txt", std::string("<p>a\0b", 6), std::u32string(U"<p>a\0b", 6), N, false},
        {"a.html", "<body>\xC4\xE0 &copy;", U"Да ©", N, false},
        {"a.html", "<body>Да &copy; ©", U"Да © ©", N, false},
        {"a.html", "\xEF\xBB\xBF<body>x", U"x", N, false},
        // A page that claims UTF-8 yet is not is read as what it is.
        {"a.html", "<meta charset=UTF-8><body>\xC4\xE0", U"Да", N, false},
        {"a.html", "<meta charset=koi8-r><body>\xE4\xC1", U"Да", N, false},
        {"a.txt", "{\\rtf1 plain {\\b bold}}", U"{\\rtf1 plain {\\b bold}}", N, false},
        {"a.rtf", "{\\rtf1 plain {\\b bold}}", U"plain bold", N, false},  // the kind given counts
        {"a.txt", exact, U"aaaaaaaaaaaa", 12, false},
        {"a.txt", over, U"aaaaaaaaaaaa", 12, true},
        {"a.txt", utf8Over, std::u32string(12, U'я'), 12, true},
        {"a.txt", zhe, std::u32string(10, U'ж'), 10, true},
        {"a.txt", "one two three four", U"one two", 12, true},
        {"a.txt", "one two abcd efg", U"one two abcd", 12, true},
        {"a.txt", utf32, U"one two", 12, true},
        {"a.htm", "<body>one two three four", U"one two", 12, true},
        {"a.rtf", "{\\rtf1 one {\\b two three} four}", U"one two", 12, true},
    };
    TempFolder folder;
    for (const auto& [name, bytes, text, limit, truncated] : cases) {
        SCOPED_TRACE(bytes);
        const K kind = DocumentKindFromPath(name).value();
        const LoadedText loaded = LoadDocumentFile(folder.Write(name, bytes), kind, limit);
        EXPECT_EQ(loaded.error, LoadError::None);
        EXPECT_EQ(ToUtf8(loaded.text), ToUtf8(text));
        EXPECT_EQ(loaded.truncated, truncated);
        EXPECT_EQ(loaded.runs.size(), kind == K::RichText ? 2u : 0u);
        const std::vector<TextRun>& runs = loaded.runs;
        if (!runs.empty()) EXPECT_EQ(runs.back().start + runs.back().length, loaded.text.size());
    }
}

// Only regular files are read, and only as far as the text can use.
TEST(DocumentLoader, OnlyRegularFilesAreReadAndOnlyAsFarAsTheTextNeeds) {
    TempFolder folder;
    fs::create_symlink(folder.Write("real.txt", "linked"), folder.Path("link.txt"));
    fs::create_symlink("/dev/zero", folder.Path("zero.txt"));
    fs::create_symlink("/dev/urandom", folder.Path("random.rtf"));
    ASSERT_EQ(::mkfifo(folder.Path("pipe.txt").c_str(), 0644), 0);
    folder.Write("folder.txt/inside", "x");
    const auto sparse = [&](const std::string& name, std::uintmax_t size) {
        const std::string path = folder.Write(name, "");
        fs::resize_file(path, size);  // large, yet it takes no room on disk
        return path;
    };
    const std::string hugeText = sparse("huge.txt", 200 * 1024 * 1024);
    constexpr LoadError kNone = LoadError::None, kFailed = LoadError::OpenFailed;
    const std::pair<std::string, LoadError> cases[] = {
        {folder.Path("link.txt"), kNone},
        {folder.Path("zero.txt"), kFailed},
        {folder.Path("random.rtf"), kFailed},
        {folder.Path("pipe.txt"), kFailed},
        {folder.Path("folder.txt"), kFailed},
        {folder.Path("missing.txt"), kFailed},
        {folder.Path("missing.htm"), kFailed},
        {folder.Path("missing.rtf"), kFailed},
        {sparse("huge.rtf", kMaxWholeDocumentBytes + 1), LoadError::TooLarge},
        {sparse("huge.html", kMaxWholeDocumentBytes + 1), LoadError::TooLarge},
        {hugeText, kNone},
    };
    for (const auto& [path, error] : cases) {
        const LoadedText loaded = LoadDocumentFile(path, DocumentKindFromPath(path).value());
        EXPECT_EQ(loaded.error, error) << path;
        if (path == hugeText) EXPECT_EQ(loaded.text.size(), kMaxTextLength);
        if (path == folder.Path("link.txt")) EXPECT_EQ(loaded.text, U"linked");
    }
}

}  // namespace
