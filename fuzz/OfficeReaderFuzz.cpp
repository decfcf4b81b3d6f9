// Reads arbitrary bytes as a DOCX or ODT document. The first byte chooses:
// bit 0 the format (DOCX, ODT); bit 1 whether the rest is a whole package or
// the main XML part, which is then packed alone into a fresh archive so that
// mutations reach the XML readers past the archive's checksums. Nothing may
// crash, hang or read out of bounds; the result must be well formed and the
// same each time, a smaller text limit must cut the same text, and a load
// stopped at once must end as Cancelled.

#include <zip.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "BookFuzzChecks.h"
#include "books/DocxReader.h"
#include "books/OdtReader.h"

namespace {

std::string PackAlone(std::string_view name, std::string_view content) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(target);
    zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
    bookfuzz::Check(archive != nullptr);
    zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
    const zip_int64_t index = zip_file_add(archive, std::string(name).c_str(), source, 0);
    bookfuzz::Check(index >= 0);
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    bookfuzz::Check(zip_close(archive) == 0);
    zip_stat_t stat;
    zip_source_stat(target, &stat);
    std::string bytes(stat.size, '\0');
    zip_source_open(target);
    zip_source_read(target, bytes.data(), stat.size);
    zip_source_close(target);
    zip_source_free(target);
    zip_error_fini(&error);
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool odt = (data[0] & 1) != 0;
    const bool xmlOnly = (data[0] & 2) != 0;
    std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string packed;
    if (xmlOnly) {
        packed = PackAlone(odt ? "content.xml" : "word/document.xml", input);
        input = packed;
    }
    if (odt) {
        bookfuzz::CheckReader(ReadOdt, input);
    } else {
        bookfuzz::CheckReader(ReadDocx, input);
    }
    return 0;
}
