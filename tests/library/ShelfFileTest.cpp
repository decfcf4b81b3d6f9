#include "library/ShelfFile.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/CodePage.h"
#include "base/SafeFileWriter.h"
#include "library/BookmarkRules.h"
#include "library/ShelfDocument.h"
#include "library/ShelfRecord.h"

// The expected file images here are built field by field from the documented
// layout of bksh.dat (header {last key, count}, index {key, offset}, records
// of 528 + 268 x b bytes with 260-byte zero-padded blocks), independently of
// the code under test.

#include "FailingFileSystem.h"
#include "TempFolder.h"
#include "TestText.h"

namespace {

namespace fs = std::filesystem;

class Bytes {
public:
    Bytes& I32(std::int64_t value) {
        const auto v = static_cast<std::uint32_t>(value);
        for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
        return *this;
    }
    Bytes& Block(const std::string& text) {
        bytes_ += text.substr(0, 260);
        bytes_.append(260 - std::min<std::size_t>(text.size(), 260), '\0');
        return *this;
    }
    Bytes& Raw(const std::string& raw) {
        bytes_ += raw;
        return *this;
    }
    operator std::string() const { return bytes_; }

private:
    std::string bytes_;
};

struct Mark {
    std::string name;
    std::int32_t position;
    std::int32_t check;
};

std::string Record(const std::string& name, const std::string& path,
                   std::initializer_list<Mark> marks = {}) {
    Bytes b;
    b.I32(528 + 268 * static_cast<std::int64_t>(marks.size())).Block(name).Block(path);
    b.I32(static_cast<std::int64_t>(marks.size()));
    for (const Mark& m : marks) b.Block(m.name).I32(m.position).I32(m.check);
    return b;
}

struct Entry {
    std::int32_t key;
    std::string record;
};

// A sound file: records back to back after the index, in index order.
std::string Image(std::int32_t lastKey, std::initializer_list<Entry> entries) {
    Bytes b;
    b.I32(lastKey).I32(static_cast<std::int64_t>(entries.size()));
    std::size_t offset = 8 + 8 * entries.size();
    for (const Entry& e : entries) {
        b.I32(e.key).I32(static_cast<std::int64_t>(offset));
        offset += e.record.size();
    }
    for (const Entry& e : entries) b.Raw(e.record);
    return b;
}

std::int32_t WordAt(const std::string& bytes, std::size_t offset) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes.at(offset + i));
    return static_cast<std::int32_t>(v);
}

ShelfDocument Document(const std::u32string& name, const std::string& path) {
    ShelfDocument d;
    d.name = name;
    d.path = path;
    return d;
}

class ShelfFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = (directory / "bksh.dat").string();
        shelf.SetPath(path);
    }

    void WriteFile(const std::string& bytes) const {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
    std::string FileBytes() const { return ReadWholeFile(path).value_or("<missing>"); }
    // Files other than the copies of damaged shelves.
    std::size_t FilesInDirectory() const {
        return static_cast<std::size_t>(
            std::count_if(fs::directory_iterator(directory), {}, [](const fs::directory_entry& e) {
                return e.path().filename().string().find(".damaged") == std::string::npos;
            }));
    }
    std::vector<std::int32_t> Keys() {
        std::vector<std::int32_t> keys;
        const std::optional<std::vector<ShelfListEntry>> entries = shelf.ListEntries();
        for (const ShelfListEntry& e : entries.value()) keys.push_back(e.key);
        return keys;
    }
    // What putting a document on the shelf does: a fresh key, then Rewrite.
    std::int32_t Put(ShelfDocument& document) {
        const std::optional<std::int32_t> key = shelf.AllocateKey();
        EXPECT_TRUE(key.has_value());
        document.key = key.value_or(0);
        EXPECT_EQ(shelf.Rewrite(document.key, document), ShelfStatus::Done);
        return document.key;
    }

    TempFolder folder;
    const fs::path& directory = folder.Path();
    std::string path;
    ShelfFile shelf;
};

TEST_F(ShelfFileTest, MissingFileBecomesAnEmptyShelfAndTheFirstKeyIsOne) {
    ASSERT_FALSE(fs::exists(path));
    ASSERT_TRUE(shelf.Validate());
    EXPECT_EQ(FileBytes(), std::string(8, '\0'));
    EXPECT_EQ(shelf.ListEntries(), std::vector<ShelfListEntry>{});
    EXPECT_EQ(shelf.AllocateKey(), 1);
    EXPECT_EQ(FileBytes(), Image(1, {}));
    EXPECT_EQ(shelf.AllocateKey(), 2);
    EXPECT_EQ(FileBytes(), Image(2, {}));
}

TEST_F(ShelfFileTest, OneDocumentGrowsWhenClosedWithBookmarksAndAResumeBookmark) {
    const std::string name = "\xC2\xEE\xE9\xED\xE0 \xE8 \xEC\xE8\xF0";  // Windows-1251
    const std::string docPath = "/home/reader/книги/war.txt";  // the platform's bytes: UTF-8
    ShelfDocument document = Document(U"Война и мир", docPath);
    ASSERT_EQ(Put(document), 1);

    const std::string first = FileBytes();
    ASSERT_EQ(first.size(), 544u);
    EXPECT_EQ(WordAt(first, 0), 1);    // last key
    EXPECT_EQ(WordAt(first, 4), 1);    // count
    EXPECT_EQ(WordAt(first, 8), 1);    // key of entry 0
    EXPECT_EQ(WordAt(first, 12), 16);  // its offset
    EXPECT_EQ(WordAt(first, 16), 528);
    EXPECT_EQ(first.substr(20, name.size() + 1), name + '\0');
    EXPECT_EQ(first.substr(280, docPath.size() + 1), docPath + '\0');
    EXPECT_EQ(WordAt(first, 540), 0);
    EXPECT_EQ(first, Image(1, {{1, Record(name, docPath)}}));

    // Closing it with two bookmarks and the resume bookmark.
    document.AddBookmark({U"Глава вторая", 9000, -123456});
    document.AddBookmark({U"chapter one", 120, 7777});
    document.AddBookmark({U".", 4000, 31});
    ASSERT_EQ(shelf.Rewrite(1, document), ShelfStatus::Done);
    const std::string second = FileBytes();
    EXPECT_EQ(second.size(), 1348u);
    EXPECT_EQ(WordAt(second, 16), 1332);
    EXPECT_EQ(second, Image(1, {{1, Record(name, docPath,
                                           {{"chapter one", 120, 7777},
                                            {".", 4000, 31},
                                            {"\xC3\xEB\xE0\xE2\xE0 \xE2\xF2\xEE\xF0\xE0\xFF", 9000,
                                             -123456}})}}));
}

TEST_F(ShelfFileTest, DocumentsAreListedAndStoredNewestFirstAndARewriteMovesToTheFront) {
    ShelfDocument a = Document(U"A", "/a.txt");
    ShelfDocument b = Document(U"B", "/b.txt");
    ShelfDocument c = Document(U"C", "/c.txt");
    b.AddBookmark({U"b1", 5, 6});
    Put(a);
    Put(b);
    Put(c);
    EXPECT_EQ(shelf.ListEntries(), (std::vector<ShelfListEntry>{{3, U"C"}, {2, U"B"}, {1, U"A"}}));
    EXPECT_EQ(FileBytes(), Image(3, {{3, Record("C", "/c.txt")},
                                     {2, Record("B", "/b.txt", {{"b1", 5, 6}})},
                                     {1, Record("A", "/a.txt")}}));

    a.name = U"A2";
    ASSERT_EQ(shelf.Rewrite(1, a), ShelfStatus::Done);
    EXPECT_EQ(a.key, 1);
    EXPECT_EQ(FileBytes(), Image(3, {{1, Record("A2", "/a.txt")},
                                     {3, Record("C", "/c.txt")},
                                     {2, Record("B", "/b.txt", {{"b1", 5, 6}})}}));
}

TEST_F(ShelfFileTest, RemovingAMiddleRecordKeepsTheOthersByteForByte) {
    // The first record's name block carries bytes after its terminator, as a
    // file written by another program may: they must survive untouched.
    std::string oldest = Record("old", "/o.txt", {{"x", 1, 2}, {"y", 3, 4}});
    oldest[4 + 10] = 'Z';
    const std::string middle = Record("mid", "/m.txt", {{"m", 7, 8}});
    const std::string newest = Record("new", "/n.txt");
    WriteFile(Image(9, {{9, newest}, {5, middle}, {2, oldest}}));

    ASSERT_EQ(shelf.Delete(5), ShelfStatus::Done);
    const std::string after = FileBytes();
    EXPECT_EQ(after, Image(9, {{9, newest}, {2, oldest}}));
    // Offsets: every record moved up 8 for the smaller index, and the one
    // after the removed record also by the removed record's size.
    EXPECT_EQ(WordAt(after, 12), 24);
    EXPECT_EQ(WordAt(after, 20), 24 + 528);
    EXPECT_EQ(after.substr(24 + 528), oldest);

    EXPECT_EQ(shelf.Delete(5), ShelfStatus::NotFound);
    EXPECT_EQ(FileBytes(), after);
}

TEST_F(ShelfFileTest, RemovingTheOnlyRecordStartsKeysAgainAtOne) {
    // Deleting it outright.
    WriteFile(Image(4, {{4, Record("only", "/only.txt")}}));
    ASSERT_EQ(shelf.Delete(4), ShelfStatus::Done);
    EXPECT_EQ(FileBytes(), std::string(8, '\0'));
    EXPECT_EQ(shelf.AllocateKey(), 1);

    // Rewriting it: removing empties the shelf, so it comes back under key 1
    // and the open document follows.
    WriteFile(Image(4, {{4, Record("only", "/only.txt")}}));
    ShelfDocument document = Document(U"only", "/only.txt");
    document.key = 4;
    ASSERT_EQ(shelf.Rewrite(4, document), ShelfStatus::Done);
    EXPECT_EQ(document.key, 1);
    EXPECT_EQ(FileBytes(), Image(1, {{1, Record("only", "/only.txt")}}));
}

TEST_F(ShelfFileTest, LongNamesAndPathsFitTheirBlocksWithATerminator) {
    struct Case {
        const char* label;
        std::u32string name;
        std::string path;
        std::string storedName;  // Windows-1251
        std::string storedPath;
        std::u32string loadedName;
    };
    const Case cases[] = {
        {"255 characters stay whole", std::u32string(255, U'Я'), "/p", std::string(255, '\xDF'),
         "/p", std::u32string(255, U'Я')},
        {"259 characters stay whole", std::u32string(259, U'n'), std::string(259, 'q'),
         std::string(259, 'n'), std::string(259, 'q'), std::u32string(259, U'n')},
        {"a longer name is cut to 259 characters", std::u32string(400, U'n'), "/p",
         std::string(259, 'n'), "/p", std::u32string(259, U'n')},
        // The file keeps names in Windows-1251: one "?" for each character it
        // lacks, however many bytes or UTF-16 units that character takes.
        {"characters Windows-1251 lacks become one ? each",
         U"G\u00F6del \u65E5\u672C \U0001F600 \u0416", "/p", "G?del ?? ? \xC6", "/p",
         U"G?del ?? ? \u0416"},
        {"a lacking character past the cut is dropped, not turned into ?",
         std::u32string(259, U'n') + U"\u65E5", "/p", std::string(259, 'n'), "/p",
         std::u32string(259, U'n')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        fs::remove(path);
        ShelfDocument document = Document(c.name, c.path);
        document.AddBookmark({c.name, 1, 2});
        Put(document);
        const std::string bytes = FileBytes();
        ASSERT_EQ(bytes.size(), 16u + 528 + 268);
        EXPECT_EQ(bytes,
                  Image(1, {{1, Record(c.storedName, c.storedPath, {{c.storedName, 1, 2}})}}));
        EXPECT_EQ(bytes[20 + c.storedName.size()], '\0');

        ShelfDocument loaded;
        ASSERT_TRUE(loaded.LoadFromShelf(shelf, 1));
        EXPECT_EQ(loaded.name, c.loadedName);
        EXPECT_EQ(loaded.path, c.storedPath);
        EXPECT_EQ(loaded.Bookmarks().at(0).name, c.loadedName);
    }
}

// A cut path would name another file, or none: reopening from the shelf would
// then call the document deleted and lose its bookmarks. Such a path is
// refused whole, and the shelf is left as it was.
TEST_F(ShelfFileTest, PathsLongerThanTheirFieldAreRefusedNotCut) {
    struct Case {
        const char* label;
        std::string path;
        bool fits;
    };
    // 130 Cyrillic letters are 260 bytes of UTF-8.
    std::string cyrillic = "/";
    for (int i = 0; i < 129; ++i) cyrillic += "\xD0\xB6";
    const Case cases[] = {
        {"259 bytes", "/" + std::string(258, 'p'), true},
        {"260 bytes", "/" + std::string(259, 'p'), false},
        {"a Cyrillic UTF-8 path of 130 characters", cyrillic + ".txt", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(PathFitsRecord(c.path), c.fits);
        WriteFile(Image(2, {{2, Record("two", "/2.txt")}}));
        const std::string before = FileBytes();
        ShelfDocument document = Document(U"long", c.path);
        document.key = 3;
        const ShelfStatus status = shelf.Rewrite(3, document);
        if (c.fits) {
            EXPECT_EQ(status, ShelfStatus::Done);
            EXPECT_EQ(shelf.ReadRecord(3), Record("long", c.path));
        } else {
            EXPECT_EQ(status, ShelfStatus::PathTooLong);
            EXPECT_EQ(shelf.Append(3, document), ShelfStatus::PathTooLong);
            EXPECT_EQ(FileBytes(), before);
        }
    }
}

std::string WithWord(std::string bytes, std::size_t offset, std::int64_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return bytes;
}

// Two records of two bookmarks each: header, index at 8, record A at 24 and
// record B at 1088, 1064 bytes each, the file 2152 bytes long.
const std::string kRecordA = Record("A", "/a.txt", {{"a1", 1, 2}, {"a2", 3, 4}});
const std::string kRecordB = Record("B", "/b.txt", {{"b1", 5, 6}, {"b2", 7, 8}});
const std::string kTwo = Image(2, {{2, kRecordA}, {1, kRecordB}});

// A damaged file is kept aside and the reader told, then replaced by what
// could be read of it: one damaged word is mended from the rest of the file,
// so the shelf loses nothing. A sound file is taken as it is.
TEST_F(ShelfFileTest, DamagedFilesAreKeptAsideAndReplacedByWhatCouldBeRead) {
    const std::string unterminatedRecord =
        Bytes().I32(528).Raw(std::string(260, 'u')).Block("/p").I32(0);
    const std::string bothWordsWrong = WithWord(WithWord(kTwo, 24, 1065), 24 + 524, 3);
    struct Case {
        const char* label;
        std::string bytes;
        std::vector<ShelfListEntry> listed;
        std::optional<std::pair<std::size_t, std::size_t>> keptAndLost;  // nothing: sound
        std::string after;                                               // the file once listed
    };
    const std::vector<ShelfListEntry> both{{2, U"A"}, {1, U"B"}};
    const std::pair<std::size_t, std::size_t> allKept{2, 0};
    const std::string empty(8, '\0');
    const Case cases[] = {
        {"sound", kTwo, both, std::nullopt, kTwo},
        {"name without a terminator",
         Image(2, {{2, unterminatedRecord}}),
         {{2, std::u32string(260, U'u')}},
         std::nullopt,
         Image(2, {{2, unterminatedRecord}})},
        {"empty file", "", {}, std::pair<std::size_t, std::size_t>{0, 0}, empty},
        {"shorter than the header",
         std::string(7, '\0'),
         {},
         std::pair<std::size_t, std::size_t>{0, 0},
         empty},
        {"no records and bytes after the header",
         Image(3, {}) + "junk",
         {},
         std::pair<std::size_t, std::size_t>{0, 0},
         empty},
        {"count 0", WithWord(kTwo, 4, 0), both, allKept, kTwo},
        {"header zeroed", WithWord(WithWord(kTwo, 0, 0), 4, 0), both, allKept, kTwo},
        {"last key 0", WithWord(kTwo, 0, 0), both, allKept, kTwo},
        {"count too large", WithWord(kTwo, 4, 3), both, allKept, kTwo},
        {"count far too large", WithWord(kTwo, 4, 0x7FFFFFFF), both, allKept, kTwo},
        {"count negative", WithWord(kTwo, 4, -1), both, allKept, kTwo},
        {"first offset past the end", WithWord(kTwo, 12, 1 << 30), both, allKept, kTwo},
        {"second offset negative", WithWord(kTwo, 20, -16), both, allKept, kTwo},
        {"two entries on one record", WithWord(kTwo, 20, 24), both, allKept, kTwo},
        {"size word wrong", WithWord(kTwo, 24, 1065), both, allKept, kTwo},
        {"last size word wraps", WithWord(kTwo, 1088, -0x7FFFFFFF), both, allKept, kTwo},
        {"bookmark count wrong", WithWord(kTwo, 1088 + 524, 3), both, allKept, kTwo},
        {"trailing byte", kTwo + 'x', both, allKept, kTwo},
        {"key 0",
         WithWord(kTwo, 8, 0),
         {{3, U"A"}, {1, U"B"}},
         allKept,
         Image(3, {{3, kRecordA}, {1, kRecordB}})},
        {"key -1",
         WithWord(kTwo, 8, -1),
         {{3, U"A"}, {1, U"B"}},
         allKept,
         Image(3, {{3, kRecordA}, {1, kRecordB}})},
        // Only one of the two could be opened: the record found under the key.
        {"key carried twice",
         WithWord(kTwo, 16, 2),
         {{2, U"A"}, {3, U"B"}},
         allKept,
         Image(3, {{2, kRecordA}, {3, kRecordB}})},
        {"last record cut short",
         kTwo.substr(0, kTwo.size() - 1),
         {{2, U"A"}},
         std::pair<std::size_t, std::size_t>{1, 1},
         Image(2, {{2, kRecordA}})},
        {"size word and bookmark count both wrong",
         bothWordsWrong,
         {{1, U"B"}},
         std::pair<std::size_t, std::size_t>{1, 1},
         Image(2, {{1, kRecordB}})},
    };
    std::vector<ShelfDamage> reported;
    shelf.SetDamageHandler([&](const ShelfDamage& damage) { reported.push_back(damage); });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        fs::remove(path + ".damaged");
        reported.clear();
        WriteFile(c.bytes);
        const std::optional<std::vector<ShelfListEntry>> listed = shelf.ListEntries();
        ASSERT_TRUE(listed.has_value());
        EXPECT_EQ(*listed, c.listed);
        EXPECT_EQ(FileBytes(), c.after);
        if (c.keptAndLost) {
            EXPECT_EQ(reported, (std::vector<ShelfDamage>{{path + ".damaged", c.keptAndLost->first,
                                                           c.keptAndLost->second}}));
            EXPECT_EQ(ReadWholeFile(path + ".damaged"), c.bytes);
        } else {
            EXPECT_TRUE(reported.empty());
            EXPECT_FALSE(fs::exists(path + ".damaged"));
        }
        for (const ShelfListEntry& e : *listed) {
            ShelfDocument document;
            EXPECT_TRUE(document.LoadFromShelf(shelf, e.key));
            EXPECT_EQ(document.name, e.name);
        }
        // The next change keeps every record, and tells nothing more.
        ShelfDocument document = Document(U"new", "/new.txt");
        Put(document);
        ASSERT_EQ(shelf.Delete(document.key), ShelfStatus::Done);
        EXPECT_EQ(shelf.ListEntries(), c.listed);
        EXPECT_EQ(reported.size(), c.keptAndLost ? 1u : 0u);
    }
}

// Writes without syncing, so that thousands of shelves are quick to write.
class UnsyncedFileSystem : public FileSystem {
public:
    int Sync(int) override { return 0; }
};

// Any one byte of a shelf changed, at every offset, to several values: the
// shelf reads whole and is written back byte for byte, or the file is kept
// aside as bksh.dat.damaged with the reader told. It is never shorter
// without a word.
TEST_F(ShelfFileTest, AnyChangedByteLosesNothingOrIsKeptAsideAndTold) {
    UnsyncedFileSystem unsynced;
    ShelfFile fast(unsynced);
    fast.SetPath(path);
    std::vector<ShelfDamage> reported;
    fast.SetDamageHandler([&](const ShelfDamage& damage) { reported.push_back(damage); });
    std::size_t keptAside = 0;
    std::size_t readWhole = 0;
    for (std::size_t offset = 0; offset < kTwo.size(); ++offset) {
        const auto original = static_cast<unsigned char>(kTwo[offset]);
        for (const unsigned value : {original ^ 0x01u, original ^ 0x80u, 0x00u, 0xFFu}) {
            if (value == original) continue;
            SCOPED_TRACE("offset " + std::to_string(offset) + ", value " + std::to_string(value));
            std::string changed = kTwo;
            changed[offset] = static_cast<char>(value);
            // A file read as sound is taken as it is (the table above shows
            // it on disk); read whole, it must be written back unchanged.
            const ParsedShelf parsed = ParseShelf(changed);
            if (!parsed.damaged) {
                ++readWhole;
                ASSERT_EQ(parsed.contents.List().size(), 2u);
                ASSERT_EQ(SerializeShelf(parsed.contents), changed);
                continue;
            }
            WriteFile(changed);
            reported.clear();
            const std::optional<std::vector<ShelfListEntry>> listed = fast.ListEntries();
            ASSERT_TRUE(listed.has_value());
            ++keptAside;
            ASSERT_EQ(reported.size(), 1u);
            ASSERT_EQ(reported[0].copyPath, path + ".damaged");
            ASSERT_EQ(ReadWholeFile(path + ".damaged"), changed);
            // One damaged word is always mended: both records stay.
            ASSERT_EQ(reported[0].keptDocuments, 2u);
            ASSERT_EQ(listed->size(), 2u);
            EXPECT_EQ(listed->at(0).name, U"A");
            EXPECT_EQ(listed->at(1).name, U"B");
            fs::remove(path + ".damaged");
        }
    }
    EXPECT_GT(keptAside, 100u);
    EXPECT_GT(readWhole, 6000u);
}

TEST_F(ShelfFileTest, DamagedFileCopiesAreNumberedAndNoCopyMeansNoReset) {
    std::vector<std::string> reported;
    shelf.SetDamageHandler([&](const ShelfDamage& damage) { reported.push_back(damage.copyPath); });
    WriteFile("first damage");
    ASSERT_TRUE(shelf.Validate());
    WriteFile("second damage");
    ASSERT_TRUE(shelf.Validate());
    EXPECT_EQ(reported, (std::vector<std::string>{path + ".damaged", path + ".damaged.1"}));
    EXPECT_EQ(ReadWholeFile(path + ".damaged"), "first damage");
    EXPECT_EQ(ReadWholeFile(path + ".damaged.1"), "second damage");

    // Where no copy can be made the damaged file stays as it is.
    if (::geteuid() != 0) {
        WriteFile("third damage");
        fs::permissions(directory, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(shelf.Validate());
        EXPECT_EQ(shelf.AllocateKey(), std::nullopt);
        fs::permissions(directory, fs::perms::owner_all);
        EXPECT_EQ(FileBytes(), "third damage");
        EXPECT_EQ(reported.size(), 2u);
    }
}

TEST_F(ShelfFileTest, AppendAndRemoveNeedASoundFileButRewriteAndDeleteResetOne) {
    ShelfDocument document = Document(U"d", "/d.txt");
    EXPECT_EQ(shelf.Append(1, document), ShelfStatus::Unavailable);
    EXPECT_EQ(shelf.Remove(1), ShelfStatus::Unavailable);
    EXPECT_FALSE(fs::exists(path));
    WriteFile("damaged");
    EXPECT_EQ(shelf.Append(1, document), ShelfStatus::Unavailable);
    EXPECT_EQ(FileBytes(), "damaged");
    EXPECT_EQ(shelf.Delete(1), ShelfStatus::NotFound);
    EXPECT_EQ(FileBytes(), std::string(8, '\0'));

    // An empty shelf whose last key is 0 stores whatever was asked under key 1.
    document.key = 7;
    EXPECT_EQ(shelf.Append(7, document), ShelfStatus::Done);
    EXPECT_EQ(document.key, 1);
    EXPECT_EQ(FileBytes(), Image(1, {{1, Record("d", "/d.txt")}}));
    EXPECT_EQ(shelf.Append(0, document), ShelfStatus::InvalidKey);
    EXPECT_EQ(shelf.Append(-1, document), ShelfStatus::InvalidKey);
    EXPECT_EQ(shelf.Remove(1), ShelfStatus::Done);
    EXPECT_EQ(FileBytes(), std::string(8, '\0'));
}

TEST_F(ShelfFileTest, KeysComeFromTheLowestFreeNumberWhenTheKeyWordRunsOut) {
    struct Case {
        const char* label;
        std::string image;
        std::int32_t key;
        std::int32_t lastKeyAfter;
    };
    const Case cases[] = {
        {"at the largest key, empty", Image(0x7FFFFFFF, {}), 1, 0x7FFFFFFF},
        {"at the largest key, with records",
         Image(0x7FFFFFFF, {{5, Record("e", "/5")},
                            {1, Record("a", "/1")},
                            {2, Record("b", "/2")},
                            {0x7FFFFFFF, Record("z", "/z")}}),
         3, 0x7FFFFFFF},
        {"negative key word", Image(-3, {{1, Record("a", "/1")}}), 2, -3},
        {"key word behind the keys in use", Image(4, {{5, Record("e", "/5")}}), 6, 6},
        {"ordinary", Image(4, {{4, Record("d", "/4")}}), 5, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        WriteFile(c.image);
        ShelfDocument document = Document(U"new", "/new.txt");
        EXPECT_EQ(Put(document), c.key);
        EXPECT_EQ(Keys().front(), c.key);
        EXPECT_EQ(WordAt(FileBytes(), 0), c.lastKeyAfter);
    }
    // A file that exists but cannot be read is not overwritten.
    fs::remove(path);
    fs::create_directory(path);
    EXPECT_FALSE(shelf.Validate());
    EXPECT_EQ(shelf.ListEntries(), std::nullopt);
    EXPECT_EQ(shelf.AllocateKey(), std::nullopt);
    EXPECT_TRUE(fs::is_directory(path));
}

// Records a host that does what the desktop layer does when a shelved
// document is closed: the resume bookmark at the caret, then Rewrite.
struct ShelvingHost : DocumentHost {
    ShelfFile* shelf = nullptr;
    std::u32string text;
    std::size_t caret = 0;
    int cleared = 0;
    void ReturnToShelf(ShelfDocument& document) override {
        StoreResumePosition(text, caret, document);
        shelf->Rewrite(document.key, document);
    }
    void DocumentCleared() override { ++cleared; }
};

TEST_F(ShelfFileTest, LoadFromShelfTakesTheRecordAsStored) {
    // Bookmarks out of position order stay in stored order.
    WriteFile(Image(5, {{5, Record("five", "/5.txt", {{"late", 900, 1}, {"early", 3, 2}})},
                        {2, Record("two", "/2.txt")}}));
    ShelfDocument document = Document(U"open", "/open.txt");
    document.key = 0;
    document.AddBookmark({U"kept", 1, 1});
    EXPECT_FALSE(document.LoadFromShelf(shelf, 4));
    EXPECT_EQ(document.name, U"open");
    EXPECT_EQ(document.key, 0);
    EXPECT_EQ(document.Bookmarks().size(), 1u);

    ASSERT_TRUE(document.LoadFromShelf(shelf, 5));
    EXPECT_EQ(document.key, 5);
    EXPECT_EQ(document.name, U"five");
    EXPECT_EQ(document.path, "/5.txt");
    EXPECT_EQ(document.Bookmarks(), (std::vector<Bookmark>{{U"late", 900, 1}, {U"early", 3, 2}}));
}

TEST_F(ShelfFileTest, ReopeningTheOpenDocumentKeepsWhatWasDoneSinceItWasOpened) {
    std::u32string text;
    for (int i = 0; i < 40; ++i) text += U"word" + FromCp1251(std::to_string(i)) + U" ";
    ShelvingHost host;
    host.shelf = &shelf;
    host.text = text;

    struct Case {
        const char* label;
        std::string image;
        std::int32_t key;
        std::int32_t keyAfter;  // the only record of a shelf is renumbered when stored
        std::size_t records;
    };
    const Case cases[] = {
        {"one of two", Image(6, {{6, Record("six", "/6")}, {2, Record("two", "/2")}}), 6, 6, 2},
        {"the only record", Image(6, {{6, Record("six", "/6")}}), 6, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        WriteFile(c.image);
        ShelfDocument document;
        document.SetHost(&host);
        ASSERT_TRUE(document.LoadFromShelf(shelf, c.key));
        PlaceBookmark(text, 50, U"placed", document);
        host.caret = 120;
        ASSERT_TRUE(document.LoadFromShelf(shelf, c.key));
        EXPECT_EQ(document.key, c.keyAfter);
        EXPECT_EQ(document.BookmarkNames(), (std::vector<std::u32string>{U"placed", U"."}));
        // Closing it again stores it once, not as a second record.
        document.RemoveBookmark(1);
        document.CloseCurrent();
        EXPECT_EQ(Keys().size(), c.records);
        EXPECT_EQ(Keys().front(), c.keyAfter);
    }
}

// Every change goes through one safe replacement of the file: failing any
// call of it leaves the old shelf or the new one, never anything between,
// and the result says which.
TEST_F(ShelfFileTest, FailingAnyCallOfAChangeLeavesTheOldShelfOrTheNewOne) {
    const std::string three = Image(3, {{3, Record("C", "/c", {{"c", 1, 1}})},
                                        {2, Record("B", "/b", {{"b", 2, 2}, {"b", 3, 3}})},
                                        {1, Record("A", "/a")}});
    const std::string only = Image(4, {{4, Record("only", "/only")}});
    struct Operation {
        const char* label;
        std::string before;
        // Runs the change on a shelf using that file system; true on success.
        std::function<bool(ShelfFile&, ShelfDocument&)> run;
    };
    const Operation operations[] = {
        {"allocate a key", three,
         [](ShelfFile& s, ShelfDocument&) { return s.AllocateKey().has_value(); }},
        {"rewrite to the front", three,
         [](ShelfFile& s, ShelfDocument& d) { return s.Rewrite(1, d) == ShelfStatus::Done; }},
        {"rewrite the only record", only,
         [](ShelfFile& s, ShelfDocument& d) { return s.Rewrite(4, d) == ShelfStatus::Done; }},
        {"append", three,
         [](ShelfFile& s, ShelfDocument& d) { return s.Append(4, d) == ShelfStatus::Done; }},
        {"delete the middle", three,
         [](ShelfFile& s, ShelfDocument&) { return s.Delete(2) == ShelfStatus::Done; }},
        {"remove the only record", only,
         [](ShelfFile& s, ShelfDocument&) { return s.Remove(4) == ShelfStatus::Done; }},
        {"reset a damaged file", three + "x",
         [](ShelfFile& s, ShelfDocument&) { return s.Validate(); }},
    };
    auto freshDocument = [] {
        ShelfDocument d = Document(U"A", "/a");
        d.key = 4;
        d.AddBookmark({U"new", 10, 11});
        return d;
    };
    for (const Operation& op : operations) {
        SCOPED_TRACE(op.label);
        WriteFile(op.before);
        FailingFileSystem probe;
        probe.maxWrite = 300;
        ShelfFile probeShelf(probe);
        probeShelf.SetPath(path);
        ShelfDocument probeDocument = freshDocument();
        ASSERT_TRUE(op.run(probeShelf, probeDocument));
        const std::string after = FileBytes();
        ASSERT_NE(after, op.before);
        ASSERT_GT(probe.calls, 6);

        for (int k = 1; k <= probe.calls; ++k) {
            SCOPED_TRACE("failing call " + std::to_string(k));
            WriteFile(op.before);
            FailingFileSystem failing;
            failing.maxWrite = 300;
            failing.failAt = k;
            ShelfFile failingShelf(failing);
            failingShelf.SetPath(path);
            ShelfDocument document = freshDocument();
            const bool done = op.run(failingShelf, document);
            const std::string now = FileBytes();
            EXPECT_TRUE(now == op.before || now == after);
            EXPECT_EQ(done, now == after);
            // The document takes a new key only when its record has it.
            EXPECT_EQ(document.key, done ? probeDocument.key : 4);
            EXPECT_EQ(FilesInDirectory(), 1u) << "a temporary file was left behind";
        }
    }
}

}  // namespace
