#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "FailingFileSystem.h"
#include "TempFolder.h"
#include "TestText.h"
#include "library/BookmarkRules.h"
#include "library/ShelfDocument.h"
#include "library/ShelfFile.h"
#include "library/ShelfRecord.h"
#include "text/DocumentLoader.h"
#include "text/TextRules.h"

// bksh.dat: header {last key, count}, index {key, offset}, records of 528 + 268 x b bytes.

namespace {
namespace fs = std::filesystem;

std::string I32(std::int64_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}
std::string Block(const std::string& text) {
    return (text + std::string(260, '\0')).substr(0, 260);
}
std::string With(std::string bytes, std::size_t at, std::int64_t value) {
    return bytes.replace(at, 4, I32(value));
}

using Marks =
    std::vector<std::tuple<std::string, std::int32_t, std::int32_t>>;  // name, position, check
std::string Record(const std::string& name, const std::string& path, const Marks& marks = {}) {
    const auto count = static_cast<std::int64_t>(marks.size());
    std::string b = I32(528 + 268 * count) + Block(name) + Block(path) + I32(count);
    for (const auto& [mark, position, check] : marks) b += Block(mark) + I32(position) + I32(check);
    return b;
}
// A sound file: records back to back after the index, in index order.
std::string Image(std::int32_t lastKey, std::vector<std::pair<std::int32_t, std::string>> entries) {
    std::string index = I32(lastKey) + I32(std::int64_t(entries.size())), records;
    for (const auto& [key, record] : entries) {
        index += I32(key) + I32(std::int64_t(8 + 8 * entries.size() + records.size()));
        records += record;
    }
    return index + records;
}

ShelfDocument Document(const std::u32string& name, const std::string& path, int key = 0) {
    ShelfDocument d;
    std::tie(d.name, d.path, d.key) = std::tie(name, path, key);
    return d;
}

// Two records of two bookmarks each: index at 8, record A at 24, B at 1088.
const std::string kRecordA = Record("A", "/a.txt", {{"a1", 1, 2}, {"a2", 3, 4}});
const std::string kRecordB = Record("B", "/b.txt", {{"b1", 5, 6}, {"b2", 7, 8}});
const std::string kTwo = Image(2, {{2, kRecordA}, {1, kRecordB}});
const std::string kEmpty(8, '\0');

// As the desktop layer does: closing a shelved document stores the resume bookmark and the record.
struct Host : DocumentHost {
    ShelfFile* shelf = nullptr;
    std::u32string text;
    std::size_t caret = 0;
    std::vector<std::u32string> calls;
    void ReturnToShelf(ShelfDocument& d) override {
        calls.push_back(U"shelf:" + d.name);
        if (shelf) StoreResumePosition(text, caret, d), shelf->Rewrite(d.key, d);
    }
    void DocumentCleared() override { calls.push_back(U"cleared"); }
};

struct ShelfFileTest : ::testing::Test {
    void SetUp() override { shelf.SetPath(path); }
    void WriteFile(const std::string& bytes) const {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
    std::string FileBytes() const { return ReadWholeFile(path).value_or("<missing>"); }
    std::int32_t Put(ShelfDocument& document) {
        document.key = shelf.AllocateKey().value_or(-5);
        EXPECT_EQ(shelf.Rewrite(document.key, document), ShelfStatus::Done);
        return document.key;
    }
    TempFolder folder;
    const fs::path& directory = folder.Path();
    const std::string path = folder.Path("bksh.dat");
    ShelfFile shelf;
};

TEST_F(ShelfFileTest, DocumentsAreStoredByteForByteNewestFirstWithNamesCutToTheirBlock) {
    ASSERT_TRUE(shelf.Validate() &&
                FileBytes() == kEmpty);  // a missing file becomes an empty shelf
    // The name in Windows-1251, the path in the platform's bytes.
    const std::string name = "\xC2\xEE\xE9\xED\xE0 \xE8 \xEC\xE8\xF0",
                      docPath = "/home/reader/книги/war.txt";
    ShelfDocument war = Document(U"Война и мир", docPath);
    ASSERT_EQ(Put(war), 1);
    EXPECT_EQ(FileBytes(), Image(1, {{1, Record(name, docPath)}}));
    for (const Bookmark& b :
         {Bookmark{U"Глава вторая", 9000, -123456}, {U"chapter one", 120, 7777}, {U".", 4000, 31}})
        war.AddBookmark(b);
    ASSERT_EQ(shelf.Rewrite(1, war), ShelfStatus::Done);
    const std::string chapter = "\xC3\xEB\xE0\xE2\xE0 \xE2\xF2\xEE\xF0\xE0\xFF";
    EXPECT_EQ(FileBytes(), Image(1, {{1, Record(name, docPath,
                                                {{"chapter one", 120, 7777},
                                                 {".", 4000, 31},
                                                 {chapter, 9000, -123456}})}}));
    ShelfDocument a = Document(U"A", "/a.txt"), b = Document(U"B", "/b.txt");
    b.AddBookmark({U"b1", 5, 6});
    for (ShelfDocument* d : {&a, &b}) Put(*d);
    EXPECT_EQ(shelf.ListEntries(),
              (std::vector<ShelfListEntry>{{3, U"B"}, {2, U"A"}, {1, war.name}}));
    a.name = U"A2";  // rewriting moves a record to the front under its key
    ASSERT_EQ(shelf.Rewrite(2, a), ShelfStatus::Done);
    EXPECT_EQ(FileBytes(), Image(3, {{2, Record("A2", "/a.txt")},
                                     {3, Record("B", "/b.txt", {{"b1", 5, 6}})},
                                     {1, shelf.ReadRecord(1).value_or("")}}));
    // Bytes after a name's terminator, as another program may leave them, stay.
    std::string oldest = Record("old", "/o.txt", {{"x", 1, 2}, {"y", 3, 4}});
    oldest[4 + 10] = 'Z';
    WriteFile(Image(
        9, {{9, Record("new", "/n")}, {5, Record("mid", "/m.txt", {{"m", 7, 8}})}, {2, oldest}}));
    ASSERT_EQ(shelf.Delete(5), ShelfStatus::Done);
    EXPECT_EQ(FileBytes(), Image(9, {{9, Record("new", "/n")}, {2, oldest}}));
    EXPECT_EQ(shelf.Delete(5), ShelfStatus::NotFound);
    // Removing the only record empties the shelf; a rewritten only record comes back as key 1.
    const std::string only = Image(4, {{4, Record("only", "/only.txt")}});
    WriteFile(only);
    ASSERT_TRUE(shelf.Delete(4) == ShelfStatus::Done && FileBytes() == kEmpty);
    WriteFile(only);
    ShelfDocument document = Document(U"only", "/only.txt", 4);
    ASSERT_EQ(shelf.Rewrite(4, document), ShelfStatus::Done);
    EXPECT_TRUE(document.key == 1 && FileBytes() == Image(1, {{1, Record("only", "/only.txt")}}));
    // Names are cut to their block, with "?" for each character Windows-1251 lacks.
    const std::u32string n259(259, U'n');
    const std::tuple<std::u32string, std::string, std::string, std::u32string> cases[] = {
        // name, path, name stored, name loaded
        {n259, std::string(259, 'q'), std::string(259, 'n'), n259},
        {std::u32string(400, U'n'), "/p", std::string(259, 'n'), n259},
        {U"G\u00F6del \u65E5\u672C \U0001F600 \u0416", "/p", "G?del ?? ? \xC6",
         U"G?del ?? ? \u0416"}};
    for (const auto& [name, p, storedName, loadedName] : cases) {
        SCOPED_TRACE(storedName);
        fs::remove(path);
        ShelfDocument named = Document(name, p);
        named.AddBookmark({name, 1, 2});
        Put(named);
        EXPECT_EQ(FileBytes(), Image(1, {{1, Record(storedName, p, {{storedName, 1, 2}})}}));
        ShelfDocument loaded;
        ASSERT_TRUE(loaded.LoadFromShelf(shelf, 1));
        EXPECT_TRUE(loaded.name == loadedName && loaded.path == p);
        EXPECT_EQ(loaded.Bookmarks(), (std::vector<Bookmark>{{loadedName, 1, 2}}));
    }
    // A cut path would name another file: it is refused whole, nothing changes.
    std::string cyrillic = "/";  // 130 Cyrillic letters are 260 bytes
    for (int i = 0; i < 129; ++i) cyrillic += "ж";
    for (const std::string& p :
         {"/" + std::string(258, 'p'), "/" + std::string(259, 'p'), cyrillic}) {
        SCOPED_TRACE(p.size());
        const bool fits = p.size() < 260;
        EXPECT_EQ(PathFitsRecord(p), fits);
        WriteFile(Image(2, {{2, Record("two", "/2.txt")}}));
        ShelfDocument longer = Document(U"long", p, 3);
        EXPECT_EQ(shelf.Rewrite(3, longer), fits ? ShelfStatus::Done : ShelfStatus::PathTooLong);
        EXPECT_EQ(shelf.Append(3, longer), fits ? ShelfStatus::Done : ShelfStatus::PathTooLong);
        EXPECT_TRUE(fits || FileBytes() == Image(2, {{2, Record("two", "/2.txt")}}));
    }
}

// A damaged file is kept aside as bksh.dat.damaged, told, and replaced by what could be read.
TEST_F(ShelfFileTest, DamagedFilesAreKeptAsideAndReplacedByWhatCouldBeRead) {
    const std::string noTerminator =
        Image(2, {{2, I32(528) + std::string(260, 'u') + Block("/p") + I32(0)}});
    const std::vector<ShelfListEntry> both{{2, U"A"}, {1, U"B"}};
    // Record A's name bytes at 28 read as 1360, an offset inside record B.
    const std::string nameLikeAnOffset =
        Image(2, {{2, Record("\x50\x05", "/a.txt", {{"a1", 1, 2}, {"a2", 3, 4}})}, {1, kRecordB}});
    // Label, bytes, listed, kept (-1: sound, nothing kept aside), lost, after.
    using Case =
        std::tuple<const char*, std::string, std::vector<ShelfListEntry>, int, int, std::string>;
    // clang-format off
    std::vector<Case> cases = {
        {"sound", kTwo, both, -1, 0, kTwo},
        {"name without a terminator", noTerminator, {{2, std::u32string(260, U'u')}}, -1, 0, noTerminator},
        {"empty file", "", {}, 0, 0, kEmpty},
        {"shorter than the header", std::string(7, '\0'), {}, 0, 0, kEmpty},
        {"no records and bytes after the header", Image(3, {}) + "junk", {}, 0, 0, kEmpty},
        {"last size word wrong", With(nameLikeAnOffset, 1088, 1065), {{2, U"P\u0005"}, {1, U"B"}}, 2, 0, nameLikeAnOffset},
        {"key 0", With(kTwo, 8, 0), {{3, U"A"}, {1, U"B"}}, 2, 0, Image(3, {{3, kRecordA}, {1, kRecordB}})},
        // Only one of the two could be opened: the record found under the key.
        {"key carried twice", With(kTwo, 16, 2), {{2, U"A"}, {3, U"B"}}, 2, 0, Image(3, {{2, kRecordA}, {3, kRecordB}})},
        {"last record cut short", kTwo.substr(0, kTwo.size() - 1), {{2, U"A"}}, 1, 1, Image(2, {{2, kRecordA}})},
        {"size word and bookmark count both wrong", With(With(kTwo, 24, 1065), 24 + 524, 3), {{1, U"B"}}, 1, 1, Image(2, {{1, kRecordB}})}};
    // clang-format on
    // One word wrong, or a trailing byte: mended to the file it was.
    for (const std::string& mended :
         {With(kTwo, 4, 0), With(kTwo, 0, 0), With(kTwo, 4, 3), With(kTwo, 4, 0x7FFFFFFF),
          With(kTwo, 4, -1), With(kTwo, 12, 1 << 30), With(kTwo, 20, -16), With(kTwo, 20, 24),
          With(kTwo, 24, 1065), With(kTwo, 1088, -0x7FFFFFFF), With(kTwo, 1088 + 524, 3),
          kTwo + 'x'})
        cases.push_back({"mended", mended, both, 2, 0, kTwo});
    std::vector<ShelfDamage> reported;
    shelf.SetDamageHandler([&](const ShelfDamage& damage) { reported.push_back(damage); });
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& [label, bytes, listed, kept, lost, after] = cases[i];
        SCOPED_TRACE(label + std::string(" ") + std::to_string(i));
        fs::remove(path + ".damaged");
        reported.clear();
        WriteFile(bytes);
        EXPECT_EQ(shelf.ListEntries(), listed);
        EXPECT_EQ(FileBytes(), after);
        EXPECT_EQ(ReadWholeFile(path + ".damaged"), kept < 0 ? std::nullopt : std::optional(bytes));
        // The next change keeps every record, and tells nothing more.
        ShelfDocument document = Document(U"new", "/new.txt");
        Put(document);
        ASSERT_EQ(shelf.Delete(document.key), ShelfStatus::Done);
        EXPECT_EQ(shelf.ListEntries(), listed);
        EXPECT_EQ(reported, std::vector<ShelfDamage>(
                                kept >= 0, {path + ".damaged", size_t(kept), size_t(lost)}));
    }
    // Copies are numbered; where none can be made, or the file cannot be read, nothing changes.
    fs::remove(path + ".damaged");
    reported.clear();
    for (const std::string suffix : {"", ".1"}) {
        WriteFile("damage" + suffix);
        ASSERT_TRUE(shelf.Validate());
        EXPECT_EQ(ReadWholeFile(path + ".damaged" + suffix), "damage" + suffix);
    }
    EXPECT_TRUE(reported.size() == 2u && reported[1].copyPath == path + ".damaged.1");
    if (::geteuid() != 0) {
        WriteFile("third damage");
        fs::permissions(directory, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(shelf.Validate() || shelf.AllocateKey());
        fs::permissions(directory, fs::perms::owner_all);
        EXPECT_TRUE(FileBytes() == "third damage" && reported.size() == 2u);
    }
    fs::remove(path);
    fs::create_directory(path);
    EXPECT_FALSE(shelf.Validate() || shelf.ListEntries() || shelf.AllocateKey());
    EXPECT_TRUE(fs::is_directory(path));
    // Any one byte of kTwo changed: read whole it is written back as it was; else both records
    // are mended, into a sound file.
    std::size_t keptAside = 0, readWhole = 0;
    for (std::size_t offset = 0; offset < kTwo.size(); ++offset) {
        const auto original = static_cast<unsigned char>(kTwo[offset]);
        for (const unsigned value : {original ^ 0x01u, original ^ 0x80u, 0x00u, 0xFFu}) {
            if (value == original) continue;
            SCOPED_TRACE("offset " + std::to_string(offset) + ", value " + std::to_string(value));
            std::string changed = kTwo;
            changed[offset] = static_cast<char>(value);
            const ParsedShelf parsed = ParseShelf(changed);
            const auto& entries = parsed.contents.entries;
            ASSERT_TRUE(entries.size() == 2u && parsed.skippedEntries == 0u);
            if (!parsed.damaged) {
                ++readWhole;
                ASSERT_EQ(SerializeShelf(parsed.contents), changed);
                continue;
            }
            ++keptAside;
            ASSERT_EQ(entries[0].record + entries[1].record, kRecordA + kRecordB);
            ASSERT_FALSE(ParseShelf(SerializeShelf(parsed.contents)).damaged);
        }
    }
    EXPECT_TRUE(keptAside > 100u && readWhole > 6000u) << keptAside << " " << readWhole;
}

TEST_F(ShelfFileTest, AppendAndRemoveNeedASoundFileButRewriteAndDeleteResetOne) {
    ShelfDocument document = Document(U"d", "/d.txt", 7);
    EXPECT_TRUE(shelf.Append(1, document) == ShelfStatus::Unavailable &&
                shelf.Remove(1) == ShelfStatus::Unavailable);
    EXPECT_FALSE(fs::exists(path));
    WriteFile("damaged");
    EXPECT_TRUE(shelf.Append(1, document) == ShelfStatus::Unavailable && FileBytes() == "damaged");
    EXPECT_TRUE(shelf.Delete(1) == ShelfStatus::NotFound && FileBytes() == kEmpty);
    // An empty shelf whose last key is 0 stores whatever was asked under key 1.
    EXPECT_EQ(shelf.Append(7, document), ShelfStatus::Done);
    EXPECT_TRUE(document.key == 1 && FileBytes() == Image(1, {{1, Record("d", "/d.txt")}}));
    EXPECT_EQ(shelf.Append(0, document), ShelfStatus::InvalidKey);
    EXPECT_TRUE(shelf.Remove(1) == ShelfStatus::Done && FileBytes() == kEmpty);
    EXPECT_TRUE(shelf.AllocateKey() == 1 && shelf.AllocateKey() == 2 &&
                FileBytes() == Image(2, {}));
    // Past the last key word, the lowest free key; a key word behind the keys moves past them.
    // clang-format off
    const std::tuple<std::string, std::int32_t, std::int32_t> cases[] = {
        // key, key word after
        {Image(0x7FFFFFFF, {}), 1, 0x7FFFFFFF},
        {Image(-3, {{1, Record("a", "/1")}}), 2, -3},
        {Image(0x7FFFFFFF, {{5, Record("e", "/5")}, {1, Record("a", "/1")}, {2, Record("b", "/2")}, {0x7FFFFFFF, Record("z", "/z")}}), 3, 0x7FFFFFFF},
        {Image(4, {{5, Record("e", "/5")}}), 6, 6},
        {Image(4, {{4, Record("d", "/4")}}), 5, 5}};
    // clang-format on
    for (const auto& [image, key, lastKeyAfter] : cases) {
        WriteFile(image);
        EXPECT_TRUE(Put(document) == key && FileBytes().substr(0, 4) == I32(lastKeyAfter)) << key;
    }
}

TEST_F(ShelfFileTest,
       DocumentsOpenAsStoredCloseToTheShelfAndReopenWithoutLosingWorkAndOldShelvesFit) {
    WriteFile(Image(5, {{5, Record("five", "/5.txt",
                                   {{"late", 900, 1}, {"early", 3, 2}})},  // stay in this order
                        {2, Record("two", "/2.txt")}}));
    Host host;
    ShelfDocument document = Document(U"open", "/open.txt");
    document.SetHost(&host);
    document.AddBookmark({U"kept", 1, 1});
    EXPECT_FALSE(document.LoadFromShelf(shelf, 4));
    EXPECT_FALSE(LoadRecord(kRecordA.substr(1), document));  // a malformed record
    EXPECT_TRUE(document.name == U"open" && document.Bookmarks().size() == 1u);
    ASSERT_TRUE(document.LoadFromShelf(shelf, 5));  // not shelved: only cleared
    EXPECT_TRUE(document.key == 5 && document.path == "/5.txt");
    EXPECT_EQ(document.Bookmarks(), (std::vector<Bookmark>{{U"late", 900, 1}, {U"early", 3, 2}}));
    ASSERT_TRUE(document.LoadFromShelf(shelf, 2));
    document.CloseCurrent();
    EXPECT_EQ(host.calls, (std::vector<std::u32string>{U"cleared", U"shelf:five", U"cleared",
                                                       U"shelf:two", U"cleared"}));
    EXPECT_TRUE(document.key == -1 && document.name.empty() && document.path.empty() &&
                document.Bookmarks().empty());
    // A pipe is there, and asking must not wait for a writer.
    ASSERT_EQ(::mkfifo(folder.Path("pipe").c_str(), 0644), 0);
    for (const std::string& p :
         {std::string(), std::string("/nonexistent/file.txt"), path, folder.Path("pipe")}) {
        document.path = p;
        EXPECT_EQ(document.FileExists(), p == path || p == folder.Path("pipe")) << p;
    }
    // Reopening keeps the bookmarks placed and the resume position; an only record becomes key 1.
    host.shelf = &shelf;
    for (int i = 0; i < 40; ++i) host.text += U"word" + FromCp1251(std::to_string(i)) + U" ";
    for (const auto& [image, keyAfter, records] :
         {std::tuple{Image(6, {{6, Record("six", "/6")}, {2, Record("two", "/2")}}), 6, 2u},
          std::tuple{Image(6, {{6, Record("six", "/6")}}), 1, 1u}}) {
        SCOPED_TRACE(records);
        WriteFile(image);
        ShelfDocument reopened;
        reopened.SetHost(&host);
        ASSERT_TRUE(reopened.LoadFromShelf(shelf, 6));
        PlaceBookmark(host.text, 50, U"placed", reopened);
        host.caret = 120;
        ASSERT_TRUE(reopened.LoadFromShelf(shelf, 6) && reopened.key == keyAfter);
        EXPECT_EQ(reopened.BookmarkNames(), (std::vector<std::u32string>{U"placed", U"."}));
        reopened.RemoveBookmark(1);
        reopened.CloseCurrent();  // stores it once, not as a second record
        const auto listed = shelf.ListEntries();
        EXPECT_TRUE(listed->size() == records && listed->at(0).key == keyAfter);
    }
    // A shelf written when the text was held as Windows-1251 bytes still fits the document.
    std::u32string text =
        LoadDocumentFile(LMN_TEST_DATA "/text/old-shelf-cp1251.txt", DocumentKind::PlainText)
            .text.ToString();
    text.resize(TrimmedLength(text));  // as the text pane takes it in
    ASSERT_EQ(text.size(), 1817u);
    WriteFile(ReadWholeFile(LMN_TEST_DATA "/text/old-shelf-bksh.dat").value_or(""));
    ShelfDocument old;
    ASSERT_TRUE(old.LoadFromShelf(shelf, 1));
    EXPECT_EQ(shelf.ListEntries(), (std::vector<ShelfListEntry>{{1, U"Старая полка"}}));
    std::vector<std::int32_t> positions;
    for (std::size_t i = 0; i < old.Bookmarks().size(); ++i) {
        const Bookmark b = old.Bookmarks()[i];
        const auto at = static_cast<std::size_t>(b.position);
        EXPECT_EQ(TextCheckValue(text, at), b.checkValue) << at;
        EXPECT_EQ(GoToBookmark(text, old, i, {}),
                  (BookmarkJump{BookmarkCheck::Valid, WordAtCaret(text, at)}));
        // Each was named with the proposal at its position, as today's text proposes it.
        const std::optional<ProposedBookmark> proposed = DefaultBookmarkName(text, at);
        EXPECT_TRUE(b.name == U"." || !proposed || proposed->name.empty() ||
                    b.name == proposed->name)
            << at;
        if (b.name != U".") positions.push_back(b.position);
    }
    EXPECT_EQ(positions, (std::vector<std::int32_t>{0, 15, 400, 1234, 1500, 1797, 1814}));
    EXPECT_EQ(RestoreResumePosition(text, old), WordAtCaret(text, 1000));
    EXPECT_EQ(old.Bookmarks().size(), positions.size());  // the resume bookmark taken back
}

// Failing any call of a save leaves the old file or the new one, and the result says which.
TEST_F(ShelfFileTest, FailingAnyCallOfASaveLeavesTheOldFileOrTheNewOne) {
    const std::string three = Image(3, {{3, Record("C", "/c", {{"c", 1, 1}})},
                                        {2, Record("B", "/b", {{"b", 2, 2}, {"b", 3, 3}})},
                                        {1, Record("A", "/a")}});
    const std::string only = Image(4, {{4, Record("only", "/only")}});
    using enum ShelfStatus;
    using Save = std::function<bool(ShelfFile&, ShelfDocument&, FileSystem&)>;
    // clang-format off
    const std::tuple<const char*, std::string, Save> operations[] = {
        {"allocate a key", three, [](ShelfFile& s, auto&, auto&) { return s.AllocateKey().has_value(); }},
        {"rewrite to the front", three, [](ShelfFile& s, ShelfDocument& d, auto&) { return s.Rewrite(1, d) == Done; }},
        {"rewrite the only record", only, [](ShelfFile& s, ShelfDocument& d, auto&) { return s.Rewrite(4, d) == Done; }},
        {"append", three, [](ShelfFile& s, ShelfDocument& d, auto&) { return s.Append(4, d) == Done; }},
        {"delete the middle", three, [](ShelfFile& s, auto&, auto&) { return s.Delete(2) == Done; }},
        {"remove the only record", only, [](ShelfFile& s, auto&, auto&) { return s.Remove(4) == Done; }},
        {"reset a damaged file", three + "x", [](ShelfFile& s, auto&, auto&) { return s.Validate(); }},
        {"write any file", std::string(1000, 'o'), [&](auto&, auto&, FileSystem& system) {
             return WriteFileSafely(path, std::string(3000, 'n'), system); }}};
    // clang-format on
    for (const auto& [label, before, save] : operations) {
        SCOPED_TRACE(label);
        std::string after;
        int calls = 0, probeKey = 0;
        for (int k = 0; k <= calls; ++k) {  // k 0 counts the calls of a change that succeeds
            SCOPED_TRACE("failing call " + std::to_string(k));
            WriteFile(before);
            FailingFileSystem failing;
            std::tie(failing.maxWrite, failing.failAt) = std::tuple(300, k);
            ShelfFile failingShelf(failing);
            failingShelf.SetPath(path);
            ShelfDocument document = Document(U"A", "/a", 4);
            document.AddBookmark({U"new", 10, 11});
            const bool done = save(failingShelf, document, failing);
            if (k == 0) {
                std::tie(after, calls, probeKey) =
                    std::tuple(FileBytes(), failing.calls, document.key);
                ASSERT_TRUE(done && after != before && calls > 6);
                continue;
            }
            const std::string now = FileBytes();
            EXPECT_TRUE((now == before && !done) || (now == after && done));
            EXPECT_EQ(document.key, done ? probeKey : 4);  // a new key only with its record
            for (const fs::directory_entry& e :
                 fs::directory_iterator(directory))  // no temporary left
                EXPECT_TRUE(e.path() == path ||
                            e.path().string().find(".damaged") != std::string::npos);
        }
    }
}

}  // namespace
