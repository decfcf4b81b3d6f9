#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A shelf record kept as its bytes, so that records the program does not
// touch are written back exactly as they were read.
struct ShelfEntry {
    std::int32_t key = 0;
    std::string record;
    // A record whose own fields are bad (a key of 0 or less, a size word that
    // disagrees with its bookmark count): it is neither listed nor found, but
    // its bytes, and its key word, are carried over unchanged by every
    // rewrite, so that damage to one record never loses it for good.
    bool unreadable = false;

    bool operator==(const ShelfEntry&) const = default;
};

// What the shelf list shows of one record.
struct ShelfListEntry {
    std::int32_t key = 0;
    std::u32string name;  // stored in Windows-1251

    bool operator==(const ShelfListEntry&) const = default;
};

// The whole bookshelf file in memory. The file is a header {last key, count},
// an index of {key, offset} pairs and the records back to back in index order,
// newest first. Parsing and serialising happen here, on bytes, so that every
// rule of the file can be tested and fuzzed without touching the disk;
// CShelfFile only reads and replaces the file around these.
struct ShelfContents {
    static constexpr std::size_t kHeaderSize = 8;
    static constexpr std::size_t kIndexEntrySize = 8;

    std::int32_t lastKey = 0;         // the last key issued; 0 when none since the file was created
    std::vector<ShelfEntry> entries;  // newest first

    bool operator==(const ShelfContents&) const = default;

    // The readable entry with that key; of several, the last in index order.
    const ShelfEntry* Find(std::int32_t key) const;
    // The readable entries.
    std::vector<ShelfListEntry> List() const;
    // The next key, written into lastKey, passing over keys that records
    // already carry. When the key word has no positive successor (it is at
    // 0x7fffffff or negative), the lowest number no record carries, with the
    // key word left as it is. Nothing only when every positive key is taken.
    std::optional<std::int32_t> AllocateKey();
    // Puts a record in front of all others and gives the key it got: on a
    // shelf whose last key is 0 the record always gets key 1 and the last key
    // becomes 1. Nothing (and no change) for a key that cannot be stored.
    std::optional<std::int32_t> Append(std::int32_t key, std::string record);
    // Drops the entry Find gives. Dropping the only entry empties the shelf
    // and sets the last key back to 0, so keys start at 1 again; unreadable
    // records that stay keep the key word as it is.
    bool Remove(std::int32_t key);
};

struct ParsedShelf {
    ShelfContents contents;
    // Index entries whose record could not be used: those kept as unreadable
    // entries (a size that disagrees with the bookmark count, a key of 0 or
    // less), and those dropped because they hold no bytes of their own (an
    // offset outside the records, or into a record another entry owns).
    std::size_t skippedEntries = 0;
};

// Nothing when the file is damaged: shorter than the header, a negative
// count, an index running past the end, or a last record that does not end
// exactly at the end of the file. Such a file is replaced by an empty shelf.
std::optional<ParsedShelf> ParseShelf(std::string_view image);

// The file's bytes: the records back to back after the index, in entry order,
// except that the file's last record must be one whose size word gives its
// length, since that is what the file's own check looks at: an unreadable
// record that does not is moved forward past the last one that does (neither
// is listed in between, so the shelf's order stays).
std::string SerializeShelf(const ShelfContents& contents);

// The bytes of an empty shelf, {0, 0}.
std::string EmptyShelfImage();
