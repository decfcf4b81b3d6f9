#include "library/ShelfContents.h"

#include <iterator>
#include <limits>
#include <map>

#include "base/LittleEndian.h"
#include "library/ShelfRecord.h"

namespace {

constexpr std::int64_t kHeader = ShelfContents::kHeaderSize;
constexpr std::int64_t kEntry = ShelfContents::kIndexEntrySize;

// The only damage the file's own check looks for: the header, the index and
// the last record's size word must be readable, and that record must end
// exactly at the end of the file. A shelf without records is not examined
// further.
bool FrameIsSound(std::string_view image) {
    const auto size = static_cast<std::int64_t>(image.size());
    if (size < kHeader) return false;
    const std::int64_t count = le::GetI32(image, 4);
    if (count < 0) return false;
    if (count == 0) return true;
    if (kHeader + kEntry * count > size) return false;
    const std::int64_t lastOffset = le::GetI32(image, static_cast<std::size_t>(kEntry * count + 4));
    if (lastOffset < 0 || lastOffset + 4 > size) return false;
    const std::int64_t lastSize = le::GetI32(image, static_cast<std::size_t>(lastOffset));
    return lastOffset + lastSize == size;
}

// Byte ranges already taken by accepted records, so that no byte of the file
// is read as part of two records.
class TakenRanges {
public:
    bool Take(std::int64_t start, std::int64_t end) {
        auto next = ranges_.lower_bound(start);
        if (next != ranges_.end() && next->first < end) return false;
        if (next != ranges_.begin() && std::prev(next)->second > start) return false;
        ranges_.emplace_hint(next, start, end);
        return true;
    }

private:
    std::map<std::int64_t, std::int64_t> ranges_;
};

}  // namespace

const ShelfEntry* ShelfContents::Find(std::int32_t key) const {
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (it->key == key) return &*it;
    }
    return nullptr;
}

std::vector<ShelfListEntry> ShelfContents::List() const {
    std::vector<ShelfListEntry> list;
    list.reserve(entries.size());
    for (const ShelfEntry& entry : entries) list.push_back({entry.key, RecordName(entry.record)});
    return list;
}

std::optional<std::int32_t> ShelfContents::AllocateKey() {
    if (lastKey < 0 || lastKey == std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return ++lastKey;
}

std::optional<std::int32_t> ShelfContents::Append(std::int32_t key, std::string record) {
    if (lastKey == 0) {
        key = 1;
        lastKey = 1;
    } else if (key <= 0) {
        return std::nullopt;
    }
    entries.insert(entries.begin(), ShelfEntry{key, std::move(record)});
    return key;
}

bool ShelfContents::Remove(std::int32_t key) {
    const ShelfEntry* found = Find(key);
    if (found == nullptr) return false;
    if (entries.size() == 1) {
        entries.clear();
        lastKey = 0;
        return true;
    }
    entries.erase(entries.begin() + (found - entries.data()));
    return true;
}

std::optional<ParsedShelf> ParseShelf(std::string_view image) {
    if (!FrameIsSound(image)) return std::nullopt;
    ParsedShelf parsed;
    parsed.contents.lastKey = le::GetI32(image, 0);
    const std::int64_t count = le::GetI32(image, 4);
    const std::int64_t recordsStart = kHeader + kEntry * count;
    const auto size = static_cast<std::int64_t>(image.size());
    TakenRanges taken;
    for (std::int64_t i = 0; i < count; ++i) {
        const auto at = static_cast<std::size_t>(kHeader + kEntry * i);
        const std::int32_t key = le::GetI32(image, at);
        const std::int64_t offset = le::GetI32(image, at + 4);
        bool usable = key > 0 && offset >= recordsStart && offset + 4 <= size;
        std::int64_t recordSize = 0;
        if (usable) {
            recordSize = le::GetI32(image, static_cast<std::size_t>(offset));
            usable = recordSize >= static_cast<std::int64_t>(shelf_record::kFixedSize) &&
                     offset + recordSize <= size;
        }
        std::string_view record;
        if (usable) {
            record = image.substr(static_cast<std::size_t>(offset),
                                  static_cast<std::size_t>(recordSize));
            usable =
                RecordBookmarkCount(record).has_value() && taken.Take(offset, offset + recordSize);
        }
        if (usable) {
            parsed.contents.entries.push_back({key, std::string(record)});
        } else {
            ++parsed.skippedEntries;
        }
    }
    return parsed;
}

std::string SerializeShelf(const ShelfContents& contents) {
    const std::size_t count = contents.entries.size();
    std::size_t size = kHeader + kEntry * count;
    for (const ShelfEntry& entry : contents.entries) size += entry.record.size();

    std::string image(kHeader + kEntry * count, '\0');
    image.reserve(size);
    le::PutI32(image, 0, contents.lastKey);
    le::PutU32(image, 4, static_cast<std::uint32_t>(count));
    std::size_t offset = image.size();
    for (std::size_t i = 0; i < count; ++i) {
        const ShelfEntry& entry = contents.entries[i];
        le::PutI32(image, kHeader + kEntry * i, entry.key);
        le::PutU32(image, kHeader + kEntry * i + 4, static_cast<std::uint32_t>(offset));
        offset += entry.record.size();
    }
    for (const ShelfEntry& entry : contents.entries) image += entry.record;
    return image;
}

std::string EmptyShelfImage() { return std::string(ShelfContents::kHeaderSize, '\0'); }
