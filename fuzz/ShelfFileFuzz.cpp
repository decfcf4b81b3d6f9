// Reads arbitrary bytes as a bookshelf file the way CShelfFile does: checks
// the file, lists it, reads and loads every record, and stores a document
// again. Nothing may crash or read out of bounds; whatever is written back
// must read back as exactly what was written.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "library/ShelfContents.h"
#include "library/ShelfDocument.h"
#include "library/ShelfRecord.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// Serialising gives a file that reads back sound, as the same records, and
// serialises to the same bytes again.
void CheckRoundTrip(const ShelfContents& contents) {
    const std::string image = SerializeShelf(contents);
    const ParsedShelf again = ParseShelf(image);
    Check(!again.damaged || contents.entries.empty());
    Check(again.skippedEntries == 0);
    if (contents.entries.empty()) return;
    Check(again.contents == contents);
    Check(SerializeShelf(again.contents) == image);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view image(reinterpret_cast<const char*>(data), size);
    const ParsedShelf parsed = ParseShelf(image);
    const ShelfContents& contents = parsed.contents;
    Check(contents.entries.size() + parsed.skippedEntries <= size / 8);
    // A file read as sound is written back exactly as it was.
    if (!parsed.damaged) Check(SerializeShelf(contents) == image);

    const std::vector<ShelfListEntry> list = contents.List();
    Check(list.size() == contents.entries.size());
    ShelfDocument document;
    for (std::size_t i = 0; i < list.size(); ++i) {
        Check(list[i].key > 0);
        Check(list[i].name.size() <= shelf_record::kBlockWidth);
        const ShelfEntry* found = contents.Find(list[i].key);
        // Keys are unique once read, so every record can be opened.
        Check(found == &contents.entries[i]);

        ShelfDocument loaded;
        Check(LoadRecord(found->record, loaded));
        Check(loaded.name == list[i].name);
        const std::string rebuilt = BuildRecord(loaded);
        Check(rebuilt.size() == found->record.size());
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
