#include "library/ShelfFile.h"

#include <filesystem>
#include <system_error>

#include "library/ShelfDocument.h"
#include "library/ShelfRecord.h"

namespace {

// The largest shelf the program writes, a quarter of a million bookmarks. A
// larger file is none of its shelves: it is neither written nor read whole.
constexpr std::size_t kLargestShelf = 64 * 1024 * 1024;

}  // namespace

ShelfFile::Reading ShelfFile::Read() const {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path_, error);
    if (status.type() == fs::file_type::not_found) return {FileState::Missing, {}};
    if (error || !fs::is_regular_file(status)) return {FileState::Unreadable, {}};
    const std::optional<std::string> image = ReadFileUpTo(path_, kLargestShelf);
    if (!image) return {FileState::Unreadable, {}};
    if (image->size() > kLargestShelf) return {FileState::Damaged, {{}, 0, true}};
    ParsedShelf parsed = ParseShelf(*image);
    const FileState state = parsed.damaged ? FileState::Damaged : FileState::Sound;
    return {state, std::move(parsed)};
}

std::optional<ShelfContents> ShelfFile::ReadValidated() {
    Reading reading = Read();
    switch (reading.state) {
        case FileState::Sound: return std::move(reading.parsed.contents);
        case FileState::Missing:
            if (!CreateEmpty()) return std::nullopt;
            return ShelfContents{};
        case FileState::Damaged: {
            ShelfContents& kept = reading.parsed.contents;
            const std::optional<std::string> copy = CopyToFreeName(path_, ".damaged");
            if (!copy) return std::nullopt;
            // With nothing kept the shelf starts again from key 1.
            if (kept.entries.empty()) kept = ShelfContents{};
            if (!Store(kept)) return std::nullopt;
            if (damageHandler_) {
                damageHandler_({*copy, kept.entries.size(), reading.parsed.skippedEntries});
            }
            return std::move(kept);
        }
        case FileState::Unreadable: return std::nullopt;
    }
    return std::nullopt;
}

std::optional<ShelfContents> ShelfFile::ReadSound() const {
    Reading reading = Read();
    if (reading.state != FileState::Sound) return std::nullopt;
    return std::move(reading.parsed.contents);
}

bool ShelfFile::Store(const ShelfContents& contents) {
    const std::string image = SerializeShelf(contents);
    if (image.size() > kLargestShelf) return false;
    return WriteFileSafely(path_, image, *fileSystem_);
}

bool ShelfFile::Validate() { return ReadValidated().has_value(); }

bool ShelfFile::CreateEmpty() { return WriteFileSafely(path_, EmptyShelfImage(), *fileSystem_); }

std::optional<std::int32_t> ShelfFile::AllocateKey() {
    std::optional<ShelfContents> contents = ReadValidated();
    if (!contents) return std::nullopt;
    const std::optional<std::int32_t> key = contents->AllocateKey();
    if (!key || !Store(*contents)) return std::nullopt;
    return key;
}

std::optional<std::vector<ShelfListEntry>> ShelfFile::ListEntries() {
    const std::optional<ShelfContents> contents = ReadValidated();
    if (!contents) return std::nullopt;
    return contents->List();
}

std::optional<std::string> ShelfFile::ReadRecord(std::int32_t key) {
    const std::optional<ShelfContents> contents = ReadValidated();
    if (!contents) return std::nullopt;
    const ShelfEntry* entry = contents->Find(key);
    if (entry == nullptr) return std::nullopt;
    return entry->record;
}

ShelfStatus ShelfFile::StoreDocument(ShelfContents contents, std::int32_t key,
                                     ShelfDocument& document) {
    if (!PathFitsRecord(document.path)) return ShelfStatus::PathTooLong;
    const std::optional<std::int32_t> stored = contents.Append(key, BuildRecord(document));
    if (!stored) return ShelfStatus::InvalidKey;
    if (!Store(contents)) return ShelfStatus::Unavailable;
    // Only an emptied shelf renumbers: the document follows its record.
    if (*stored != key) document.key = *stored;
    return ShelfStatus::Done;
}

ShelfStatus ShelfFile::Append(std::int32_t key, ShelfDocument& document) {
    std::optional<ShelfContents> contents = ReadSound();
    if (!contents) return ShelfStatus::Unavailable;
    return StoreDocument(std::move(*contents), key, document);
}

ShelfStatus ShelfFile::Remove(std::int32_t key) {
    std::optional<ShelfContents> contents = ReadSound();
    if (!contents) return ShelfStatus::Unavailable;
    if (!contents->Remove(key)) return ShelfStatus::NotFound;
    return Store(*contents) ? ShelfStatus::Done : ShelfStatus::Unavailable;
}

ShelfStatus ShelfFile::Rewrite(std::int32_t key, ShelfDocument& document) {
    std::optional<ShelfContents> contents = ReadValidated();
    if (!contents) return ShelfStatus::Unavailable;
    // Removing and storing again is one write, so a failure cannot leave the
    // shelf without the record.
    contents->Remove(key);
    return StoreDocument(std::move(*contents), key, document);
}

ShelfStatus ShelfFile::CopyInto(ShelfFile& target, std::int32_t key,
                                ShelfDocument& document) const {
    ShelfContents contents = ReadSound().value_or(ShelfContents{});
    contents.Remove(key);
    return target.StoreDocument(std::move(contents), key, document);
}

ShelfStatus ShelfFile::Delete(std::int32_t key) {
    std::optional<ShelfContents> contents = ReadValidated();
    if (!contents) return ShelfStatus::Unavailable;
    if (!contents->Remove(key)) return ShelfStatus::NotFound;
    return Store(*contents) ? ShelfStatus::Done : ShelfStatus::Unavailable;
}
