// Converts arbitrary bytes as an HTML document: whole, in chunks whose sizes
// the first bytes of the input choose (empty feeds included), through a sink
// and into a string, and a second time with the same converter. Nothing may
// crash, and every way must give the same text.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/CodePage.h"
#include "text/DocumentLoader.h"
#include "text/HtmlConverter.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

std::string FeedInChunks(HtmlConverter& converter, std::string& text, std::string_view html,
                         const std::vector<std::size_t>& sizes) {
    std::size_t at = 0;
    for (std::size_t k = 0; at < html.size(); ++k) {
        const std::size_t size = std::min(sizes[k % sizes.size()], html.size() - at);
        converter.Feed(html.substr(at, size));
        at += size;
    }
    converter.Finish();
    return std::exchange(text, {});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::size_t> sizes;
    if (!input.empty()) {
        const std::size_t count = 1 + static_cast<unsigned char>(input[0]) % 8;
        input.remove_prefix(1);
        bool progress = false;
        for (std::size_t i = 0; i < count && !input.empty(); ++i) {
            sizes.push_back(static_cast<unsigned char>(input[0]) % 97);
            progress = progress || sizes.back() > 0;
            input.remove_prefix(1);
        }
        if (!progress) sizes.push_back(1);
    } else {
        sizes.push_back(1);
    }

    const std::string whole = ConvertHtmlToText(input);
    // At most two bytes of text for each byte of markup, and one pending pair of
    // breaks written in front of the first character.
    Check(whole.size() <= 2 * input.size() + 4);

    std::string sunk;
    HtmlConverter sinkConverter([&sunk](std::string_view piece) {
        Check(!piece.empty());
        sunk.append(piece);
    });
    Check(FeedInChunks(sinkConverter, sunk, input, sizes) == whole);
    // Finish leaves nothing behind for the next document.
    Check(FeedInChunks(sinkConverter, sunk, input, {input.size() + 1}) == whole);

    std::string direct;
    HtmlConverter directConverter(direct);
    Check(FeedInChunks(directConverter, direct, input, sizes) == whole);

    // The loader's road: the code-page rule, then the same conversion.
    Check(ReadHtmlDocument(std::string(input)) ==
          ConvertHtmlToText(DocumentBytesToCp1251(std::string(input))));
    return 0;
}
