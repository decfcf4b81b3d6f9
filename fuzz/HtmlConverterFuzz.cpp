// Reads arbitrary bytes as an HTML page: the charset prescan, then the bytes
// decoded as Windows-1251 or UTF-8 (ill-formed sequences become U+FFFD) and
// converted whole, in chunks whose sizes the first bytes of the input choose
// (empty feeds included), through a sink and into a string, and a second time
// with the same converter. Nothing may crash, and every way must give the same
// text, made only of Unicode scalar values.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/HtmlCharset.h"
#include "text/HtmlConverter.h"
#include "text/TextDecoding.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }

std::u32string FeedInChunks(HtmlConverter& converter, std::u32string& text,
                            std::u32string_view html, const std::vector<std::size_t>& sizes) {
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
    bool utf8 = false;
    if (!input.empty()) {
        const auto control = static_cast<unsigned char>(input[0]);
        const std::size_t count = 1 + control % 8;
        utf8 = (control & 8) != 0;
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

    // A declared charset is a non-empty piece of the page without blanks round it.
    if (const std::optional<std::string> charset = DeclaredHtmlCharset(input)) {
        Check(!charset->empty() && !IsBlank(charset->front()) && !IsBlank(charset->back()));
        Check(input.find(*charset) != std::string_view::npos);
    }

    const std::optional<std::u32string> html =
        DecodeCharset(input, utf8 ? "UTF-8" : "windows-1251");
    Check(html.has_value());

    const std::u32string whole = ConvertHtmlToText(*html);
    // At most two characters of text for each of markup, and one pending pair
    // of breaks written in front of the first character.
    Check(whole.size() <= 2 * html->size() + 4);
    for (const char32_t c : whole) Check(c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF));

    std::u32string sunk;
    HtmlConverter sinkConverter([&sunk](std::u32string_view piece) {
        Check(!piece.empty());
        sunk.append(piece);
    });
    Check(FeedInChunks(sinkConverter, sunk, *html, sizes) == whole);
    // Finish leaves nothing behind for the next document.
    Check(FeedInChunks(sinkConverter, sunk, *html, {html->size() + 1}) == whole);

    std::u32string direct;
    HtmlConverter directConverter(direct);
    Check(FeedInChunks(directConverter, direct, *html, sizes) == whole);
    return 0;
}
