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

    // The entry with that key; of several, the last in index order.
    const ShelfEntry* Find(std::int32_t key) const;
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
    // and sets the last key back to 0, so keys start at 1 again.
    bool Remove(std::int32_t key);
};

struct ParsedShelf {
    // Every record that could be read, in index order.
    ShelfContents contents;
    // Index entries whose record could not be read even with the repairs
    // below, so that the reader can be told how many documents are gone.
    std::size_t skippedEntries = 0;
    // Anything other than what the program writes: a count, offset, size
    // word or bookmark count that disagrees with the rest, a key of 0 or
    // less or one carried twice, a last key of 0 on a shelf with records,
    // bytes no record owns. The file itself must then be kept aside, since
    // contents may lack records or hold repaired ones.
    bool damaged = false;
};

// Reads a shelf file's bytes. Damage to a single word is repaired where the
// rest of the file says what it was: a count by the first record's offset, an
// offset by where the record before ends, a size word or bookmark count by
// the room the record has up to the next one, a bad or repeated key by a
// fresh one. A record that still cannot be read is left out and counted.
ParsedShelf ParseShelf(std::string_view image);

// The file's bytes: header, index and the records back to back in entry order.
std::string SerializeShelf(const ShelfContents& contents);

// The bytes of an empty shelf, {0, 0}.
std::string EmptyShelfImage();
