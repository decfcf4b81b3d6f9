#include "library/ShelfContents.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <set>

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

}  // namespace

const ShelfEntry* ShelfContents::Find(std::int32_t key) const {
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (it->key == key && !it->unreadable) return &*it;
    }
    return nullptr;
}

std::vector<ShelfListEntry> ShelfContents::List() const {
    std::vector<ShelfListEntry> list;
    list.reserve(entries.size());
    for (const ShelfEntry& entry : entries) {
        if (!entry.unreadable) list.push_back({entry.key, RecordName(entry.record)});
    }
    return list;
}

std::optional<std::int32_t> ShelfContents::AllocateKey() {
    constexpr std::int32_t kLargestKey = std::numeric_limits<std::int32_t>::max();
    std::set<std::int32_t> taken;
    for (const ShelfEntry& entry : entries) taken.insert(entry.key);
    if (lastKey >= 0) {
        for (std::int32_t key = lastKey; key < kLargestKey;) {
            if (!taken.contains(++key)) return lastKey = key;
        }
    }
    // The key word has run out: the lowest number no record carries.
    std::int32_t key = 1;
    for (auto it = taken.upper_bound(0); it != taken.end() && *it == key; ++it) {
        if (key == kLargestKey) return std::nullopt;
        ++key;
    }
    return key;
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
    entries.erase(entries.begin() + (found - entries.data()));
    if (entries.empty()) lastKey = 0;
    return true;
}

std::optional<ParsedShelf> ParseShelf(std::string_view image) {
    if (!FrameIsSound(image)) return std::nullopt;
    ParsedShelf parsed;
    parsed.contents.lastKey = le::GetI32(image, 0);
    const std::int64_t count = le::GetI32(image, 4);
    const std::int64_t recordsStart = kHeader + kEntry * count;
    const auto size = static_cast<std::int64_t>(image.size());

    struct IndexEntry {
        std::int32_t key;
        std::int64_t offset;
        bool readable = false;
    };
    std::vector<IndexEntry> index;
    index.reserve(static_cast<std::size_t>(count));
    std::set<std::int64_t> starts;  // every offset inside the record area
    for (std::int64_t i = 0; i < count; ++i) {
        const auto at = static_cast<std::size_t>(kHeader + kEntry * i);
        index.push_back({le::GetI32(image, at), le::GetI32(image, at + 4)});
        if (index.back().offset >= recordsStart && index.back().offset < size) {
            starts.insert(index.back().offset);
        }
    }

    // A record ends at the latest where the next one starts, so no byte is
    // read as part of two records; of two entries on the same record the
    // first in index order owns it.
    const auto nextStart = [&](std::int64_t offset) {
        const auto next = starts.upper_bound(offset);
        return next == starts.end() ? size : *next;
    };
    std::set<std::int64_t> owned;
    for (IndexEntry& entry : index) {
        const std::int64_t offset = entry.offset;
        if (entry.key <= 0 || !starts.contains(offset) || offset + 4 > size) continue;
        const std::int64_t recordSize = le::GetI32(image, static_cast<std::size_t>(offset));
        if (recordSize < static_cast<std::int64_t>(shelf_record::kFixedSize) ||
            offset + recordSize > nextStart(offset)) {
            continue;
        }
        const std::string_view record =
            image.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(recordSize));
        entry.readable = RecordBookmarkCount(record).has_value() && owned.insert(offset).second;
    }

    // A record that cannot be read keeps the bytes from its offset to the
    // next record's start: that is all of it in a file laid out as the
    // program writes it, whatever its own size word says. Moved elsewhere in
    // a rewrite, those bytes stay unreadable for the same reason.
    for (const IndexEntry& entry : index) {
        if (entry.readable) {
            const auto offset = static_cast<std::size_t>(entry.offset);
            const auto length = static_cast<std::size_t>(le::GetI32(image, offset));
            parsed.contents.entries.push_back(
                {entry.key, std::string(image.substr(offset, length))});
            continue;
        }
        ++parsed.skippedEntries;
        const std::int64_t offset = entry.offset;
        if (!starts.contains(offset) || !owned.insert(offset).second) continue;
        const std::int64_t end = nextStart(offset);
        ShelfEntry unreadable{entry.key,
                              std::string(image.substr(static_cast<std::size_t>(offset),
                                                       static_cast<std::size_t>(end - offset)))};
        unreadable.unreadable = true;
        parsed.contents.entries.push_back(std::move(unreadable));
    }
    return parsed;
}

std::string SerializeShelf(const ShelfContents& contents) {
    // The file's own check reads the last record's size word: the last
    // record must be one whose size word gives its length.
    const auto endsSoundly = [](const ShelfEntry& entry) {
        return entry.record.size() >= 4 &&
               le::GetI32(entry.record, 0) == static_cast<std::int64_t>(entry.record.size());
    };
    std::vector<const ShelfEntry*> order;
    order.reserve(contents.entries.size());
    for (const ShelfEntry& entry : contents.entries) order.push_back(&entry);
    if (!order.empty() && !endsSoundly(*order.back())) {
        const auto last = std::find_if(order.rbegin(), order.rend(),
                                       [&](const ShelfEntry* e) { return endsSoundly(*e); });
        if (last != order.rend()) {
            const ShelfEntry* moved = *last;
            order.erase(std::next(last).base());
            order.push_back(moved);
        }
    }

    const std::size_t count = order.size();
    std::size_t size = kHeader + kEntry * count;
    for (const ShelfEntry* entry : order) size += entry->record.size();

    std::string image(kHeader + kEntry * count, '\0');
    image.reserve(size);
    le::PutI32(image, 0, contents.lastKey);
    le::PutU32(image, 4, static_cast<std::uint32_t>(count));
    std::size_t offset = image.size();
    for (std::size_t i = 0; i < count; ++i) {
        le::PutI32(image, kHeader + kEntry * i, order[i]->key);
        le::PutU32(image, kHeader + kEntry * i + 4, static_cast<std::uint32_t>(offset));
        offset += order[i]->record.size();
    }
    for (const ShelfEntry* entry : order) image += entry->record;
    return image;
}

std::string EmptyShelfImage() { return std::string(ShelfContents::kHeaderSize, '\0'); }
