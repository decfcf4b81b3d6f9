#include "library/ShelfRecord.h"

#include <vector>

#include "base/CodePage.h"
#include "base/LittleEndian.h"
#include "library/ShelfDocument.h"

using namespace shelf_record;

bool PathFitsRecord(std::string_view path) {
    return path.size() < kBlockWidth && path.find('\0') == std::string_view::npos;
}

std::string BuildRecord(const ShelfDocument& document) {
    const std::vector<Bookmark>& bookmarks = document.Bookmarks();
    const std::size_t size = kFixedSize + kBookmarkSize * bookmarks.size();
    std::string record(size, '\0');
    le::PutU32(record, 0, static_cast<std::uint32_t>(size));
    le::PutBlock(record, kNameOffset, kBlockWidth, UnicodeToCp1251(document.name));
    le::PutBlock(record, kPathOffset, kBlockWidth, document.path);
    le::PutU32(record, kCountOffset, static_cast<std::uint32_t>(bookmarks.size()));
    std::size_t at = kFixedSize;
    for (const Bookmark& bookmark : bookmarks) {
        le::PutBlock(record, at, kBlockWidth, UnicodeToCp1251(bookmark.name));
        le::PutI32(record, at + kBookmarkPositionOffset, bookmark.position);
        le::PutI32(record, at + kBookmarkCheckOffset, bookmark.checkValue);
        at += kBookmarkSize;
    }
    return record;
}

std::optional<std::size_t> RecordBookmarkCount(std::string_view record) {
    if (record.size() < kFixedSize) return std::nullopt;
    const std::int64_t size = le::GetI32(record, 0);
    const std::int64_t count = le::GetI32(record, kCountOffset);
    if (count < 0 || size != SizeFor(count)) return std::nullopt;
    if (static_cast<std::uint64_t>(size) != record.size()) return std::nullopt;
    return static_cast<std::size_t>(count);
}

std::u32string RecordName(std::string_view record) {
    return Cp1251ToUnicode(le::GetBlock(record, kNameOffset, kBlockWidth));
}

std::u32string StoredName(std::u32string_view name) {
    return Cp1251ToUnicode(UnicodeToCp1251(name));
}

bool LoadRecord(std::string_view record, ShelfDocument& document) {
    const std::optional<std::size_t> count = RecordBookmarkCount(record);
    if (!count) return false;
    std::vector<Bookmark> bookmarks;
    bookmarks.reserve(*count);
    for (std::size_t i = 0, at = kFixedSize; i < *count; ++i, at += kBookmarkSize) {
        bookmarks.push_back({Cp1251ToUnicode(le::GetBlock(record, at, kBlockWidth)),
                             le::GetI32(record, at + kBookmarkPositionOffset),
                             le::GetI32(record, at + kBookmarkCheckOffset)});
    }
    document.name = RecordName(record);
    document.path = le::GetBlock(record, kPathOffset, kBlockWidth);
    document.SetBookmarks(std::move(bookmarks));
    return true;
}
