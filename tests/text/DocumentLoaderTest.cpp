#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "TestText.h"
#include "text/DocumentLoader.h"
#include "text/FolderListing.h"
#include "text/TextDecoding.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using K = DocumentKind;

TEST(DocumentPath, KindFromTheLastDotAndNameFromTheLastSlash) {
    const std::pair<const char*, std::optional<K>> cases[] = {
        {"report.Txt", K::PlainText}, {"page.HtMl", K::Html}, {"old.plg", K::Html},
        {"letter.rtf", K::RichText},  {".txt", K::PlainText}, {"TALE.FB2", K::Fb2},
        {"tale.Fb2.ZiP", K::Fb2Zip},  {"tale.zip", {}},       {"tale.fb2zip", {}},
        {"tale.fb2.zip.bak", {}},     {"Tale.EPUB", K::Epub}, {"PAPER.PdF", K::Pdf},
        {"LETTER.DOCX", K::Docx},     {"l.ODT", K::Odt},      {"book.pdf.txt", K::PlainText},
        {"my.docs/README", {}},       {"book. txt", {}},      {"", {}},
    };
    for (const auto& [path, kind] : cases) EXPECT_EQ(DocumentKindFromPath(path), kind) << path;
    for (const K kind : {K::PlainText, K::RichText, K::Html}) EXPECT_FALSE(IsBookKind(kind));
    for (const K kind : {K::Fb2, K::Fb2Zip, K::Epub, K::Pdf, K::Docx, K::Odt})
        EXPECT_TRUE(IsBookKind(kind));
    // The name is the part after the last slash of either kind.
    const std::pair<std::string, std::u32string> names[] = {
        {"book.txt", U"book.txt"},
        {"/mnt/c\\Docs/sub\\x.htm", U"x.htm"},
        {"/home/анна/Война и мир.txt", U"Война и мир.txt"},
        {"/tmp/\xC2\xEE\xE9\xED\xE0.txt", U"Война.txt"},  // Windows-1251 bytes
        {"/home/anna/", U""},
    };
    for (const auto& [path, name] : names) EXPECT_EQ(DocumentNameFromPath(path), name) << path;
    EXPECT_EQ(PathFileName("/home/анна/Война.txt"), "Война.txt");
}

// Names shown with U+FFFD for bytes that are not UTF-8, or as Windows-1251, are found again.
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
        {folder.Path("яю dir/абв.txt"), real},  // as the title shows them
        {folder.Path("two/б.txt"), folder.Path("two/\xE1.txt")},
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
        {"../link/../work/w.txt", root / "work/w.txt"},
        {"../link/a.txt", root / "docs/a.txt"},
        {(root / "work/../docs/a.txt").string(), root / "docs/a.txt"},
    };
    for (const auto& [given, path] : relative)
        EXPECT_EQ(AbsoluteDocumentPath(given), path.string()) << given;
    fs::current_path(before);
}

// The open dialog's list: by the entries' own bytes, folders first, letter case ignored.
TEST(FolderListing, ListsFoldersAndDocumentsByTheirOwnBytes) {
    TempFolder folder;
    for (const char* name : {"caf\xE9.txt", "B.TXT", "a.epub", ".hidden.txt", "notes.doc",
                             "z/x.txt", "d\xE9j\xE0/x.txt", "\xD0\xAF/x.txt", ".git/x.txt"})
        folder.Write(name, "x");
    std::filesystem::create_directory_symlink(folder.Path("z"), folder.Path("link"));
    const std::vector<FolderEntry> entries = ListDocumentFolder(folder.Path()).value();
    std::string listed;
    for (const FolderEntry& e : entries)
        listed += e.name + (e.isFolder ? "/" : "") + "=" + ToUtf8(e.shown) + " ";
    EXPECT_EQ(listed,
              "d\xE9j\xE0/=dйjа link/=link z/=z \xD0\xAF/=Я a.epub=a.epub B.TXT=B.TXT "
              "caf\xE9.txt=cafй.txt ");
    EXPECT_FALSE(ListDocumentFolder(folder.Path("none")));
    EXPECT_FALSE(ListDocumentFolder(folder.Path("B.TXT")));
    const std::pair<const char*, const char*> parents[] = {
        {"/a/b", "/a"}, {"/a/b/", "/a"}, {"/a", "/"}, {"/", "/"}, {"a", "."}};
    for (const auto& [path, parent] : parents) EXPECT_EQ(ParentFolder(path), parent) << path;
    EXPECT_EQ(ShownPath("/home/d\xE9j\xE0/caf\xE9.txt"), U"/home/dйjа/cafй.txt");
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
        EXPECT_EQ(ToUtf8(loaded.text.ToString()), ToUtf8(text));
        EXPECT_EQ(loaded.truncated, truncated);
        EXPECT_EQ(loaded.runs.size(), kind == K::RichText ? 2u : 0u);
        const std::vector<TextRun>& runs = loaded.runs;
        if (!runs.empty()) {
            EXPECT_EQ(runs.back().start + runs.back().length, loaded.text.size());
        }
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
        {sparse("huge.rtf", kMaxWholeDocumentBytes + 1), LoadError::TooLarge},
        {sparse("huge.html", kMaxWholeDocumentBytes + 1), LoadError::TooLarge},
        {hugeText, kNone},
    };
    for (const auto& [path, error] : cases) {
        const LoadedText loaded = LoadDocumentFile(path, DocumentKindFromPath(path).value());
        EXPECT_EQ(loaded.error, error) << path;
        if (path == hugeText) {
            EXPECT_EQ(loaded.text.size(), kMaxTextLength);
        }
        if (path == folder.Path("link.txt")) {
            EXPECT_EQ(loaded.text, U"linked");
        }
    }
}

constexpr char32_t R = kReplacementCharacter;

// Thirty-three Russian letters, two bytes each in UTF-8: a text plainly UTF-8.
const std::string kRussianUtf8 = "абвгдеёжзийклмнопрстуфхцчшщъыьэюя";
const std::u32string kRussian = U"абвгдеёжзийклмнопрстуфхцчшщъыьэюя";

TEST(TextDecoding, ByteOrderMarkDecidesAndIsDropped) {
    const std::tuple<std::string, std::string, std::u32string> cases[] = {
        {"\xEF\xBB\xBF\x41\xD0\xB6", "UTF-8", U"Aж"},
        {"\xFF\xFE\x41\0\x36\x04"s, "UTF-16LE", U"Aж"},
        {"\xFE\xFF\0A\x04\x36"s, "UTF-16BE", U"Aж"},
        {"\xFF\xFE\0\0A\0\0\0"s, "UTF-32LE", U"A"},
        {"\0\0\xFE\xFF\0\0\0A"s, "UTF-32BE", U"A"},
        {"\xFF\xFE", "UTF-16LE", U""},
        {"A\xEF\xBB\xBF", "UTF-8", U"A\uFEFF"},
        {"\xEF\xBB\xBF\xCF\xF0", "UTF-8", {R, R}},  // the mark wins over Windows-1251 bytes
        // UTF-8 with one stray byte among many letters; not with few, nor a never-leading byte.
        {"", "UTF-8", U""},
        {kRussianUtf8 + "\xD1", "UTF-8", kRussian + R},
        {"abc\xF0\x9F\x98", "UTF-8", U"abc\uFFFD"},
        {kRussianUtf8 + "\xFF" + kRussianUtf8, "UTF-8", kRussian + R + kRussian},
        {"\xE2\x82\xAC \xE9t\xE9", "", U""},
        {"abc\xC0", "", U""},
        {"\xCF\xF0\xE8\xE2\xE5\xF2!", "", U""},  // "": anything but UTF-8
    };
    for (const auto& [bytes, charset, text] : cases) {
        SCOPED_TRACE(bytes);
        if (charset.empty()) {
            EXPECT_NE(DetectDocumentCharset(bytes), "UTF-8");
            continue;
        }
        EXPECT_EQ(DetectDocumentCharset(bytes), charset);
        EXPECT_EQ(DecodeDocumentText(bytes), text);
    }
}

// One U+FFFD per maximal ill-formed subpart of UTF-8, as the Unicode standard's table has it.
TEST(TextDecoding, IllFormedUtf8BecomesOneReplacementPerMaximalSubpart) {
    const std::pair<std::string, std::u32string> cases[] = {
        {"\xF0\x9F\x98\x80", U"\U0001F600"},
        {"\xD0", {R}},
        {"\xF0\x9F\x98", {R}},
        {"\xE2\x82\x41", {R, U'A'}},
        {"\xC0\xAF", {R, R}},
        {"\xE0\x80\xAF", {R, R, R}},
        {"\xF0\x8F\xBF\xBF", {R, R, R, R}},
        {"\xED\xA0\x80", {R, R, R}},
        {"\xF4\x90\x80\x80", {R, R, R, R}},
        {"\xF5\x80\x41", {R, R, U'A'}},
        {"\x80xy", {R, U'x', U'y'}},
        {"\xFF", {R}},
    };
    for (const auto& [bytes, text] : cases) {
        SCOPED_TRACE(bytes);
        // Inside a text plainly UTF-8, so the file is judged UTF-8 and what follows is kept.
        const std::string file =
            kRussianUtf8 + kRussianUtf8 + kRussianUtf8 + kRussianUtf8 + bytes + "!";
        EXPECT_EQ(DetectDocumentCharset(file), "UTF-8");
        EXPECT_EQ(DecodeDocumentText(file),
                  kRussian + kRussian + kRussian + kRussian + text + U"!");
        EXPECT_EQ(DecodeCharset(bytes, "utf8"), text);
    }
}

TEST(TextDecoding, CharsetsAndTheirEdges) {
    const std::tuple<std::string, std::string, std::u32string> cases[] = {
        {"windows-1251", "\xCF\xF0\xE8\xE2\xE5\xF2 \xA8\xB8\xDF\xFF", U"Привет ЁёЯя"},
        {"KOI8-R", "\xF0\xD2\xC9\xD7\xC5\xD4 \xB3\xA3\xF1\xD1", U"Привет ЁёЯя"},
        {"ISO-8859-5", "\xBF\xE0\xD8\xD2\xD5\xE2 \xA1\xF1\xCF\xEF", U"Привет ЁёЯя"},
        {"windows-1252", "Gr\xFC\xDF\x65 \x80 \x9C\x93\x94", U"Grüße € œ“”"},
        {"Shift_JIS", "\x93\xFA\x96\x7B", U"日本"},
        {"GBK", "\xD6\xD0\xCE\xC4", U"中文"},
        // Holes of the code pages: U+FFFD, never ICU's U+001A or C1 controls (fine in UTF-16).
        {"windows-1251", "a\x98z", {U'a', R, U'z'}},
        {"ISO-8859-6", "a\xA1z", {U'a', R, U'z'}},
        {"windows-1252", "a\x81\x8D\x8F\x90\x9Dz", {U'a', R, R, R, R, R, U'z'}},
        {"ISO-8859-5", "a\x80\x9Fz", {U'a', R, R, U'z'}},
        {"Shift_JIS", "a\x80\xA0z", {U'a', R, R, U'z'}},
        {"EUC-KR", "\xA1\x41", {R, U'A'}},
        {"Shift_JIS", "\x93\xFA\x81", U"日\uFFFD"},
        {"UTF-16BE", "\0\x98"s, U"\u0098"},
        {"UTF-16LE", "\x3D\xD8\x00\xDE"s, U"\U0001F600"},
        {"UTF-16LE", "\x3D\xD8\x41\0"s, {R, U'A'}},
        {"UTF-16LE", "\x00\xDE\x41\0"s, {R, U'A'}},
        {"UTF-16LE", "\x3D\xD8\x3D\xD8\x00\xDE"s, {R, U'\U0001F600'}},
        {"UTF-16LE", "A\0\x3D\xD8"s, {U'A', R}},
        {"UTF-16LE", "A\0B"s, {U'A', R}},
        {"UTF-32LE",
         "\0\0\x11\0"
         "A\0\0\0"s,
         {R, U'A'}},
        {"UTF-32LE", "\0\xD8\0\0"s, {R}},
        {"UTF-32BE", "\0\x01\xF6\0"s, U"\U0001F600"},
        {"UTF-32BE", "\0\0\0A\0\0\0"s, {U'A', R}},
    };
    for (const auto& [charset, bytes, text] : cases)
        EXPECT_EQ(DecodeCharset(bytes, charset), text) << charset << " " << bytes;
    for (const std::string& name : {"no-such-charset"s, ""s, "UTF-8\0x"s, std::string(200, 'a')})
        EXPECT_EQ(DecodeCharset("abc", name), std::nullopt) << name;
}

// A declared charset comes after the mark and before detection; the limit counts characters.
TEST(TextDecoding, DeclaredCharsetAndMaxLength) {
    const std::string privet = "\xF0\xD2\xC9\xD7\xC5\xD4";
    const std::tuple<std::string, std::string, std::u32string> cases[] = {
        {"\xEF\xBB\xBF\xD0\x9F", "windows-1251", U"П"},
        {"\xFF\xFE\x1F\x04"s, "KOI8-R", U"П"},
        {"\xD0\x9F", "windows-1251", U"Рџ"},
        {privet, "koi8-r", U"Привет"},
        {"\xD0\x9F", "no-such-charset", U"П"},
        {"abc", "UTF-16LE", U"abc"},
        {"abc", "UTF-32BE", U"abc"},
        {"\x93q\x94", "ISO-8859-1", U"“q”"},
        {"caf\xE9", "ascii", U"café"},
        {std::string(100, 'x'), "", std::u32string(100, U'x')},
        {kRussianUtf8 + kRussianUtf8, "", kRussian + kRussian},
        {"\xF0\x9F\x98\x80\x61\xF0\x9F\x98\x80\x62", "", U"\U0001F600a\U0001F600b"},
        {"\xFF\xFE\x3D\xD8\x00\xDE\x61\0\x3D\xD8\x00\xDE"s, "", U"\U0001F600a\U0001F600"},
        {"\x93\xFA\x96\x7B\x61\x62", "Shift_JIS", U"日本ab"},
    };
    for (const auto& [bytes, declared, whole] : cases) {
        EXPECT_EQ(DecodeDocumentText(bytes, kWholeText, declared), whole) << declared;
        for (const std::size_t max : {0UL, 1UL, 3UL, whole.size(), whole.size() + 10})
            EXPECT_EQ(DecodeDocumentText(bytes, max, declared), whole.substr(0, max)) << max;
    }
    // Bytes past the part that can be kept do not change how the kept start is read.
    const std::string long1251 = std::string(4000, 'a') + "\xCF\xF0\xE8\xE2\xE5\xF2";
    EXPECT_NE(DetectDocumentCharset(long1251), "UTF-8");
    EXPECT_EQ(DecodeDocumentText(long1251, 1000), std::u32string(1000, U'a'));
    // Characters that straddle the fixed ends of the ICU conversion's pieces come out whole.
    std::string koi8, utf16 = "\xFF\xFE";
    std::u32string koi8Text, utf16Text;
    for (int i = 0; i < 50000; ++i) {
        koi8 += "\xF0\xD2\xC9 ";
        koi8Text += U"При ";
        utf16 += i % 3 == 0 ? "\x3D\xD8\x00\xDE"s : "\x1F\x04"s;
        utf16Text += i % 3 == 0 ? U'\U0001F600' : U'П';
    }
    EXPECT_EQ(DecodeCharset(koi8, "KOI8-R"), koi8Text);
    EXPECT_EQ(DecodeDocumentText(utf16), utf16Text);
    utf16.pop_back();
    utf16Text.back() = R;
    EXPECT_EQ(DecodeDocumentText(utf16), utf16Text);
}

}  // namespace
