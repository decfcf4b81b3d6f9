// Reads arbitrary bytes as an FB2 book, plain and zipped. Nothing may crash,
// hang or read out of bounds; the result must be well formed and the same
// each time, a smaller text limit must cut the same text, and a load stopped
// at once must end as Cancelled.

#include <cstdint>
#include <string_view>

#include "BookFuzzChecks.h"
#include "books/Fb2Reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    bookfuzz::CheckReader(ReadFb2, input);
    bookfuzz::CheckReader(ReadFb2Zip, input);
    return 0;
}
