#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "books/BookText.h"

// A ZIP archive held in memory, read entry by entry by name. Nothing is ever
// written to disk. Every entry read counts the bytes it really unpacks
// against a budget for the whole archive, so a "ZIP bomb" stops at the cap
// instead of filling memory, whatever sizes its headers declare. A long
// unpacking asks `progress` (with no count) whether to go on, megabyte by
// megabyte, and ends as Cancelled when told to stop.
class ZipArchive {
public:
    enum class Status { Ok, Damaged, Missing, Encrypted, TooLarge, Cancelled };

    // The bytes must outlive the archive.
    static std::optional<ZipArchive> Open(std::string_view bytes, std::uint64_t maxUnpackedBytes,
                                          BookProgress progress = {});
    ZipArchive(ZipArchive&&) noexcept;
    ZipArchive& operator=(ZipArchive&&) noexcept;
    ~ZipArchive();

    // Entry names in the archive's order.
    std::vector<std::string> Names() const;
    bool Has(std::string_view name) const;
    // The whole entry; a status other than Ok leaves `out` empty.
    Status Read(std::string_view name, std::string& out);

private:
    struct Handle;
    ZipArchive(std::unique_ptr<Handle> handle, std::uint64_t budget, BookProgress progress);
    std::unique_ptr<Handle> handle_;
    std::uint64_t budget_;
    BookProgress progress_;
};
