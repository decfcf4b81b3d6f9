#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include <zip.h>

// A ZIP archive made in memory with libzip, for tests and benchmarks of the
// book readers: entries in the given order, deflated unless stored is asked,
// and encrypted with a password when one is given.
struct MemoryZipEntry {
    std::string name;
    std::string data;
    bool stored = false;
    const char* password = nullptr;  // traditional PKWARE encryption
};

inline std::string MakeMemoryZip(const std::vector<MemoryZipEntry>& entries) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(buffer);
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    for (const MemoryZipEntry& entry : entries) {
        zip_source_t* source = zip_source_buffer(archive, entry.data.data(), entry.data.size(), 0);
        const zip_int64_t index =
            zip_file_add(archive, entry.name.c_str(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
        const auto at = static_cast<zip_uint64_t>(index);
        zip_set_file_compression(archive, at, entry.stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
        // No time in the archive, so that the same entries make the same bytes.
        zip_file_set_dostime(archive, at, 0, 0x21, 0);
        if (entry.password != nullptr)
            zip_file_set_encryption(archive, at, ZIP_EM_TRAD_PKWARE, entry.password);
    }
    zip_close(archive);
    std::string bytes;
    zip_source_open(buffer);
    zip_source_seek(buffer, 0, SEEK_END);
    bytes.resize(static_cast<std::size_t>(zip_source_tell(buffer)));
    zip_source_seek(buffer, 0, SEEK_SET);
    zip_source_read(buffer, bytes.data(), bytes.size());
    zip_source_close(buffer);
    zip_source_free(buffer);
    zip_error_fini(&error);
    return bytes;
}
