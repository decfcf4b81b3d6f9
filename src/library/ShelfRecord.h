#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class ShelfDocument;

// One shelf record of bksh.dat: a document's name, its path and its
// bookmarks. Every integer is a little-endian 32-bit value; every string is a
// zero-padded 260-byte block holding at most 259 bytes and a terminator.
//
//   0  size (528 + 268 x count)   4  name   264  path   524  count
//   528 + 268 x i: bookmark i - name, +260 position, +264 check value
namespace shelf_record {

inline constexpr std::size_t kBlockWidth = 260;
inline constexpr std::size_t kNameOffset = 4;
inline constexpr std::size_t kPathOffset = 264;
inline constexpr std::size_t kCountOffset = 524;
inline constexpr std::size_t kFixedSize = 528;
inline constexpr std::size_t kBookmarkSize = 268;
inline constexpr std::size_t kBookmarkPositionOffset = 260;
inline constexpr std::size_t kBookmarkCheckOffset = 264;

// The size a record of that many bookmarks has.
constexpr std::int64_t SizeFor(std::int64_t bookmarkCount) {
    return static_cast<std::int64_t>(kFixedSize) +
           static_cast<std::int64_t>(kBookmarkSize) * bookmarkCount;
}

}  // namespace shelf_record

// Whether a path can be stored in a record whole: at most 259 bytes, so that
// the terminator fits in its block. A longer path must not go on the shelf,
// since a cut one would name another file, or none.
bool PathFitsRecord(std::string_view path);

// The document's record: name, path and bookmarks in list order. Strings
// longer than 259 bytes are cut so that the terminator fits; callers check
// the path with PathFitsRecord first.
std::string BuildRecord(const ShelfDocument& document);

// The number of bookmarks of a record whose size word, bookmark count and
// length agree; nothing for any other bytes.
std::optional<std::size_t> RecordBookmarkCount(std::string_view record);

// The name block of a well-formed record, up to its terminator.
std::u32string RecordName(std::string_view record);
// A name as a record keeps it: what Windows-1251 lacks reads back as "?".
std::u32string StoredName(std::u32string_view name);

// Fills name, path and bookmarks from a record, keeping the stored bookmark
// order. A malformed record leaves the document untouched and gives false.
// The key is the caller's to set.
bool LoadRecord(std::string_view record, ShelfDocument& document);
