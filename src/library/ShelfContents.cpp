#include "library/ShelfContents.h"

#include <algorithm>
#include <limits>
#include <set>

#include "base/LittleEndian.h"
#include "library/ShelfRecord.h"

namespace {

using namespace shelf_record;

constexpr std::int64_t kHeader = ShelfContents::kHeaderSize;
constexpr std::int64_t kEntry = ShelfContents::kIndexEntrySize;
constexpr std::int64_t kFixed = kFixedSize;
constexpr std::int64_t kBookmark = kBookmarkSize;

struct FoundRecord {
    std::string bytes;
    bool repaired = false;
};

// The record at offset, which has room up to the next record's start. When
// its size word and bookmark count disagree, the room says which of the two
// is right, and the other is set to match.
std::optional<FoundRecord> RecordAt(std::string_view image, std::int64_t offset,
                                    std::int64_t room) {
    const auto size = static_cast<std::int64_t>(image.size());
    if (offset < kHeader || offset + kFixed > size) return std::nullopt;
    const std::string_view rest = image.substr(static_cast<std::size_t>(offset));
    const std::int64_t sizeWord = le::GetI32(rest, 0);
    const std::int64_t count = le::GetI32(rest, kCountOffset);
    if (count >= 0 && sizeWord == SizeFor(count) &&
        sizeWord <= static_cast<std::int64_t>(rest.size())) {
        return FoundRecord{std::string(rest.substr(0, static_cast<std::size_t>(sizeWord))), false};
    }
    if (room < kFixed || room > static_cast<std::int64_t>(rest.size())) return std::nullopt;
    const std::int64_t bookmarks = (room - kFixed) / kBookmark;
    const bool sizeWrong = count == bookmarks && SizeFor(bookmarks) == room;
    const bool countWrong = sizeWord == room && SizeFor(bookmarks) == room;
    if (!sizeWrong && !countWrong) return std::nullopt;
    std::string bytes(rest.substr(0, static_cast<std::size_t>(room)));
    if (sizeWrong) {
        le::PutU32(bytes, 0, static_cast<std::uint32_t>(room));
    } else {
        le::PutU32(bytes, kCountOffset, static_cast<std::uint32_t>(bookmarks));
    }
    return FoundRecord{std::move(bytes), true};
}

// The records an index of n entries leads to. Records lie back to back in
// index order, so an entry whose offset leads nowhere usable is looked for
// where the record before it ends.
ParsedShelf ParseWithIndexLength(std::string_view image, std::int64_t n) {
    const auto size = static_cast<std::int64_t>(image.size());
    ParsedShelf parsed;
    parsed.contents.lastKey = le::GetI32(image, 0);
    parsed.damaged = n != le::GetI32(image, 4);
    const auto offsetOf = [&](std::int64_t i) {
        return static_cast<std::int64_t>(
            le::GetI32(image, static_cast<std::size_t>(kHeader + kEntry * i + 4)));
    };
    std::int64_t end = kHeader + kEntry * n;  // where the last record found ends
    for (std::int64_t i = 0; i < n; ++i) {
        const std::int64_t next = i + 1 < n ? offsetOf(i + 1) : size;
        const auto room = [&](std::int64_t at) {
            return (next > at && next <= size ? next : size) - at;
        };
        const std::int64_t stated = offsetOf(i);
        std::optional<FoundRecord> found;
        if (stated >= end) found = RecordAt(image, stated, room(stated));
        std::int64_t at = stated;
        if (!found && stated != end) {
            at = end;
            found = RecordAt(image, at, room(at));
        }
        if (!found) {
            ++parsed.skippedEntries;
            parsed.damaged = true;
            continue;
        }
        parsed.damaged = parsed.damaged || stated != end || found->repaired;
        end = at + static_cast<std::int64_t>(found->bytes.size());
        parsed.contents.entries.push_back(
            {le::GetI32(image, static_cast<std::size_t>(kHeader + kEntry * i)),
             std::move(found->bytes)});
    }
    parsed.damaged = parsed.damaged || end != size;
    return parsed;
}

// Keys of 0 or less and keys carried twice get fresh ones, so that every
// record can be opened; a last key of 0, which only an empty shelf has, is
// set past the keys in use.
void RenumberBadKeys(ParsedShelf& parsed) {
    ShelfContents& contents = parsed.contents;
    std::set<std::int32_t> seen;
    std::vector<ShelfEntry*> renumbered;
    for (ShelfEntry& entry : contents.entries) {
        if (entry.key > 0 && seen.insert(entry.key).second) continue;
        renumbered.push_back(&entry);
    }
    const std::int32_t largest = seen.empty() ? 0 : *seen.rbegin();
    if (contents.lastKey == 0 && !contents.entries.empty()) {
        contents.lastKey = largest;
        parsed.damaged = true;
    }
    std::int32_t top = std::max(contents.lastKey, largest);
    std::int32_t lowest = 1;  // once the keys have run out
    for (ShelfEntry* entry : renumbered) {
        parsed.damaged = true;
        if (top < std::numeric_limits<std::int32_t>::max()) {
            entry->key = contents.lastKey = ++top;
            continue;
        }
        while (seen.contains(lowest)) ++lowest;
        entry->key = lowest;
        seen.insert(lowest);
    }
}

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

ParsedShelf ParseShelf(std::string_view image) {
    const auto size = static_cast<std::int64_t>(image.size());
    if (size < kHeader) return {{}, 0, true};
    // The count, and the length of the index the first offset gives: with
    // either one damaged, the other still finds the records.
    std::vector<std::int64_t> lengths;
    const std::int64_t count = le::GetI32(image, 4);
    if (count >= 0 && kHeader + kEntry * count <= size) lengths.push_back(count);
    if (size >= kHeader + kEntry) {
        const std::int64_t first = le::GetI32(image, kHeader + 4);
        if (first > kHeader && first <= size && (first - kHeader) % kEntry == 0 &&
            (first - kHeader) / kEntry != count) {
            lengths.push_back((first - kHeader) / kEntry);
        }
    }
    ParsedShelf best{{}, 0, true};
    bool chosen = false;
    for (const std::int64_t n : lengths) {
        ParsedShelf parsed = ParseWithIndexLength(image, n);
        if (!chosen || parsed.contents.entries.size() > best.contents.entries.size()) {
            best = std::move(parsed);
            chosen = true;
        }
    }
    RenumberBadKeys(best);
    return best;
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
        le::PutI32(image, kHeader + kEntry * i, contents.entries[i].key);
        le::PutU32(image, kHeader + kEntry * i + 4, static_cast<std::uint32_t>(offset));
        offset += contents.entries[i].record.size();
    }
    for (const ShelfEntry& entry : contents.entries) image += entry.record;
    return image;
}

std::string EmptyShelfImage() { return std::string(ShelfContents::kHeaderSize, '\0'); }
