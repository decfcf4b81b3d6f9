#include "books/ZipArchive.h"

#include <zip.h>

#include <vector>

struct ZipArchive::Handle {
    zip_t* archive = nullptr;
    ~Handle() {
        if (archive != nullptr) zip_discard(archive);
    }
};

ZipArchive::ZipArchive(std::unique_ptr<Handle> handle, std::uint64_t budget, BookProgress progress)
    : handle_(std::move(handle)), budget_(budget), progress_(std::move(progress)) {}
ZipArchive::ZipArchive(ZipArchive&&) noexcept = default;
ZipArchive& ZipArchive::operator=(ZipArchive&&) noexcept = default;
ZipArchive::~ZipArchive() = default;

std::optional<ZipArchive> ZipArchive::Open(std::string_view bytes, std::uint64_t maxUnpackedBytes,
                                           BookProgress progress) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (source == nullptr) {
        zip_error_fini(&error);
        return std::nullopt;
    }
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    zip_error_fini(&error);
    if (archive == nullptr) {
        zip_source_free(source);
        return std::nullopt;
    }
    auto handle = std::make_unique<Handle>();
    handle->archive = archive;
    return ZipArchive(std::move(handle), maxUnpackedBytes, std::move(progress));
}

std::vector<std::string> ZipArchive::Names() const {
    std::vector<std::string> names;
    const zip_int64_t count = zip_get_num_entries(handle_->archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        if (const char* name = zip_get_name(handle_->archive, static_cast<zip_uint64_t>(i), 0)) {
            names.emplace_back(name);
        }
    }
    return names;
}

bool ZipArchive::Has(std::string_view name) const {
    return zip_name_locate(handle_->archive, std::string(name).c_str(), 0) >= 0;
}

ZipArchive::Status ZipArchive::Read(std::string_view name, std::string& out) {
    out.clear();
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(handle_->archive, std::string(name).c_str(), 0, &stat) != 0)
        return Status::Missing;
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) != 0 && stat.encryption_method != ZIP_EM_NONE) {
        return Status::Encrypted;
    }
    // An entry that says it is larger than what is left is refused at once;
    // a smaller size is checked while reading.
    if ((stat.valid & ZIP_STAT_SIZE) != 0 && stat.size > budget_) return Status::TooLarge;
    zip_file_t* file = zip_fopen_index(handle_->archive, stat.index, 0);
    if (file == nullptr) return Status::Damaged;
    // The size the directory declares is not trusted: the bytes really
    // unpacked count, and reading stops at the budget whatever it says.
    // After each whole megabyte the load may be stopped; a small entry is
    // read without asking.
    constexpr std::size_t kChunkBytes = 1 << 20;
    std::vector<char> chunk(kChunkBytes);
    Status status = Status::Ok;
    for (bool chunkFull = false;;) {
        if (chunkFull && progress_ && !progress_(0, 0)) {
            status = Status::Cancelled;
            break;
        }
        const zip_int64_t count = zip_fread(file, chunk.data(), chunk.size());
        if (count < 0) {
            status = Status::Damaged;
            break;
        }
        if (count == 0) break;
        if (static_cast<std::uint64_t>(count) > budget_) {
            status = Status::TooLarge;
            break;
        }
        budget_ -= static_cast<std::uint64_t>(count);
        out.append(chunk.data(), static_cast<std::size_t>(count));
        chunkFull = static_cast<std::size_t>(count) == chunk.size();
    }
    zip_fclose(file);
    if (status != Status::Ok) out.clear();
    return status;
}
