#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/SafeFileWriter.h"
#include "library/ShelfContents.h"

class ShelfDocument;

// What became of a damaged shelf file.
struct ShelfDamage {
    std::string copyPath;           // where the damaged file was kept
    std::size_t keptDocuments = 0;  // records read from it, now the shelf
    std::size_t lostDocuments = 0;  // index entries whose record could not be read

    bool operator==(const ShelfDamage&) const = default;
};

enum class ShelfStatus {
    Done,
    NotFound,     // no record carries the key
    InvalidKey,   // keys 0 and below are never stored
    PathTooLong,  // the document's path does not fit the record's path field
    Unavailable,  // the file could not be read, was damaged, or could not be written
};

// The bookshelf file bksh.dat: the documents the reader has put on the shelf,
// each with its path and bookmarks. Nothing is cached; every operation reads
// the whole file and, when it changes anything, builds the new file in memory
// and puts it in place with WriteFileSafely, so that a failure at any point
// leaves either the old shelf or the new one on disk.
//
// A damaged file is never thrown away: before it is replaced by the records
// that could be read from it (or by an empty shelf) it is copied beside itself
// as bksh.dat.damaged (numbered when that name is taken), and the damage
// handler is told where the copy is and how many documents were kept. When no
// copy can be made the file is left alone and the operation fails.
class ShelfFile {
public:
    explicit ShelfFile(FileSystem& fileSystem = SystemFileSystem()) : fileSystem_(&fileSystem) {}

    void SetPath(std::string path) { path_ = std::move(path); }
    const std::string& Path() const { return path_; }
    // Called each time a damaged file has been kept aside and replaced.
    void SetDamageHandler(std::function<void(const ShelfDamage&)> handler) {
        damageHandler_ = std::move(handler);
    }

    // Makes sure a sound file exists: a missing one is created empty, a
    // damaged one is kept aside and replaced by what could be read of it.
    // False when that fails, and when the file exists but cannot be read (it
    // is then left alone rather than overwritten).
    bool Validate();
    // Replaces the file by an empty shelf, {0, 0}.
    bool CreateEmpty();
    // The next key, written into the file at once; nothing when the file is
    // unusable or its last key has no positive successor.
    std::optional<std::int32_t> AllocateKey();
    // Keys and names of all records, newest first; nothing when the file is
    // unusable.
    std::optional<std::vector<ShelfListEntry>> ListEntries();
    // A copy of the whole record with that key (of several, the last in index
    // order); nothing when there is none or the file is unusable.
    std::optional<std::string> ReadRecord(std::int32_t key);

    // These two leave the check of the file to their caller: a missing or
    // damaged file makes them fail instead of being reset.
    //
    // Stores the document's record in front of all others. On a shelf whose
    // last key is 0 the record gets key 1, and so does the document. A
    // document whose path does not fit the record is refused (PathTooLong).
    ShelfStatus Append(std::int32_t key, ShelfDocument& document);
    // Drops the record with that key; dropping the only one empties the shelf,
    // so the next key issued is 1 again.
    ShelfStatus Remove(std::int32_t key);

    // Validate, drop any record with the key and store the document in front,
    // written as one change. Used both to store a document under its key and
    // to store it under a freshly issued one.
    ShelfStatus Rewrite(std::int32_t key, ShelfDocument& document);
    // Validate, then Remove.
    ShelfStatus Delete(std::int32_t key);
    // Writes this shelf, with the document's record stored in it, into
    // another shelf file, for a shelf that cannot be written where it is.
    // This one is only read; what it lacks (it cannot be read) is left out.
    ShelfStatus CopyInto(ShelfFile& target, std::int32_t key, ShelfDocument& document) const;

private:
    enum class FileState { Sound, Missing, Damaged, Unreadable };
    struct Reading {
        FileState state = FileState::Unreadable;
        ParsedShelf parsed;
    };

    Reading Read() const;
    // The contents after Validate; nothing when Validate fails.
    std::optional<ShelfContents> ReadValidated();
    // The contents of a sound file, without resetting anything.
    std::optional<ShelfContents> ReadSound() const;
    bool Store(const ShelfContents& contents);
    ShelfStatus StoreDocument(ShelfContents contents, std::int32_t key, ShelfDocument& document);

    std::string path_ = "bksh.dat";
    FileSystem* fileSystem_;
    std::function<void(const ShelfDamage&)> damageHandler_;
};
