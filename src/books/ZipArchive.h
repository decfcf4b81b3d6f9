#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A ZIP archive held in memory, read entry by entry by name. Nothing is ever
// written to disk. Every entry read counts against a budget for the whole
// archive, so a "ZIP bomb" stops at the cap instead of filling memory.
class ZipArchive {
public:
    enum class Status { Ok, Damaged, Missing, Encrypted, TooLarge };

    // The bytes must outlive the archive.
    static std::optional<ZipArchive> Open(std::string_view bytes, std::uint64_t maxUnpackedBytes);
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
    explicit ZipArchive(std::unique_ptr<Handle> handle, std::uint64_t budget);
    std::unique_ptr<Handle> handle_;
    std::uint64_t budget_;
};
