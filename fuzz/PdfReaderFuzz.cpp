// Reads arbitrary bytes as a PDF book. poppler parses them (a system library,
// not instrumented); the text put together from its words must keep its
// shape: within the limit, CR LF pairs between paragraphs only, runs covering
// the text, an error with no text, and the same result when read again.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "books/PdfReader.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    BookLimits limits;
    limits.maxTextLength = 4096;
    const LoadedText book = ReadPdf(input, limits, {});
    Check(book.text.size() <= limits.maxTextLength);
    if (book.error != LoadError::None) Check(book.text.empty() && book.runs.empty());
    for (std::size_t i = 0; i < book.text.size(); ++i) {
        const char32_t c = book.text[i];
        Check(c < 0x110000 && (c < 0xD800 || c > 0xDFFF));
        Check(c >= 0x20 || c == '\r' || c == '\n');
        if (c == '\r') Check(i + 1 < book.text.size() ? book.text[i + 1] == '\n' : true);
        if (c == '\n') Check(i > 0 && book.text[i - 1] == '\r');
    }
    std::size_t next = 0;
    for (const TextRun& run : book.runs) {
        Check(run.start == next && run.length > 0);
        next += run.length;
    }
    Check(book.runs.empty() || next == book.text.size());
    const LoadedText again = ReadPdf(input, limits, {});
    Check(again.error == book.error && again.text == book.text && again.runs == book.runs);
    return 0;
}
