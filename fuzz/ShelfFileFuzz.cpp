// Reads arbitrary bytes as a bookshelf file the way CShelfFile does: checks
// the file, lists it, reads and loads every record, and stores a document
// again. Nothing may crash or read out of bounds; whatever is written back
// must read back as exactly what was written.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/LittleEndian.h"
#include "library/ShelfContents.h"
#include "library/ShelfDocument.h"
#include "library/ShelfRecord.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// The file's own soundness check, step by step as the file is read: the
// count at offset 4, the last index entry's offset, that record's size word,
// and the bytes left after it.
bool FrameReadsSound(std::string_view image) {
    const auto size = static_cast<std::int64_t>(image.size());
    if (size < 8) return false;
    const std::int64_t count = le::GetI32(image, 4);
    if (count == 0) return true;
    const std::int64_t lastEntryOffset = 8 * count + 4;
    if (lastEntryOffset < 0 || lastEntryOffset + 4 > size) return false;
    const std::int64_t last = le::GetI32(image, static_cast<std::size_t>(lastEntryOffset));
    if (last < 0 || last + 4 > size) return false;
    const std::int64_t recordSize = le::GetI32(image, static_cast<std::size_t>(last));
    return size - (last + 4) == recordSize - 4;
}

std::size_t UnreadableCount(const ShelfContents& contents) {
    std::size_t count = 0;
    for (const ShelfEntry& entry : contents.entries) count += entry.unreadable ? 1 : 0;
    return count;
}

// Serialising gives a sound file that lists the same records, keeps every
// record that could not be read, and serialises to the same bytes again.
void CheckRoundTrip(const ShelfContents& contents) {
    const std::string image = SerializeShelf(contents);
    Check(FrameReadsSound(image) || contents.List().empty());
    const std::optional<ParsedShelf> again = ParseShelf(image);
    if (!again) return;  // only unreadable records, none of them ending soundly
    Check(again->skippedEntries == UnreadableCount(contents));
    Check(again->contents.List() == contents.List());
    Check(UnreadableCount(again->contents) == UnreadableCount(contents));
    Check(SerializeShelf(again->contents) == image);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view image(reinterpret_cast<const char*>(data), size);
    const std::optional<ParsedShelf> parsed = ParseShelf(image);
    Check(parsed.has_value() == FrameReadsSound(image));
    // A damaged file is replaced by the empty shelf.
    const ShelfContents contents = parsed ? parsed->contents : ShelfContents{};
    Check(contents.entries.size() + (parsed ? parsed->skippedEntries : 0) <= size / 8);

    const std::vector<ShelfListEntry> list = contents.List();
    Check(list.size() + UnreadableCount(contents) == contents.entries.size());
    std::vector<const ShelfEntry*> readable;
    for (const ShelfEntry& entry : contents.entries) {
        if (!entry.unreadable) readable.push_back(&entry);
    }
    ShelfDocument document;
    for (std::size_t i = 0; i < list.size(); ++i) {
        Check(list[i].key > 0);
        Check(list[i].name.size() <= shelf_record::kBlockWidth);
        const ShelfEntry* found = contents.Find(list[i].key);
        Check(found != nullptr && found->key == list[i].key);

        ShelfDocument loaded;
        Check(LoadRecord(readable[i]->record, loaded));
        Check(loaded.name == list[i].name);
        const std::string rebuilt = BuildRecord(loaded);
        Check(rebuilt.size() == readable[i]->record.size());
        ShelfDocument reloaded;
        Check(LoadRecord(rebuilt, reloaded));
        // A block without a terminator loses its 260th byte once; after that
        // a record is stable.
        Check(BuildRecord(reloaded) == rebuilt);
        if (i == 0) document = loaded;
    }
    CheckRoundTrip(contents);

    // Storing the newest document again, and storing it under a fresh key.
    if (!list.empty()) {
        ShelfContents rewritten = contents;
        rewritten.Remove(list.front().key);
        const std::optional<std::int32_t> key =
            rewritten.Append(list.front().key, BuildRecord(document));
        Check(key.has_value() && rewritten.entries.front().key == *key);
        Check(rewritten.entries.size() == contents.entries.size());
        CheckRoundTrip(rewritten);
    }
    ShelfContents grown = contents;
    if (const std::optional<std::int32_t> key = grown.AllocateKey()) {
        Check(*key > 0 && grown.Find(*key) == nullptr);
        Check(grown.Append(*key, BuildRecord(document)) == *key);
        CheckRoundTrip(grown);
    }
    return 0;
}
