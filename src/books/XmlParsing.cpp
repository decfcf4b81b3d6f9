#include "books/XmlParsing.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "base/CodePage.h"
#include "text/HtmlCharset.h"
#include "text/TextDecoding.h"

namespace {

bool StartsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::string Utf8Of(std::string_view bytes, std::string_view charset) {
    const std::optional<std::u32string> text = DecodeCharset(bytes, charset);
    return text ? ToUtf8(*text) : std::string(bytes);
}

}  // namespace

std::string XmlToUtf8(std::string_view bytes) {
    if (StartsWith(bytes, "\xEF\xBB\xBF")) return std::string(bytes.substr(3));
    if (StartsWith(bytes, "\xFF\xFE")) return Utf8Of(bytes.substr(2), "UTF-16LE");
    if (StartsWith(bytes, "\xFE\xFF")) return Utf8Of(bytes.substr(2), "UTF-16BE");
    // UTF-16 without a mark shows in how "<?" is written.
    if (StartsWith(bytes, std::string_view("<\0?\0", 4))) return Utf8Of(bytes, "UTF-16LE");
    if (StartsWith(bytes, std::string_view("\0<\0?", 4))) return Utf8Of(bytes, "UTF-16BE");
    const std::string declared = Lower(DeclaredXmlEncoding(bytes).value_or(""));
    // A declaration readable as ASCII cannot be in UTF-16 or UTF-32.
    if (declared.empty() || declared == "utf-8" || declared == "utf8" ||
        StartsWith(declared, "utf-16") || StartsWith(declared, "utf-32") ||
        StartsWith(declared, "ucs")) {
        return std::string(bytes);
    }
    return Utf8Of(bytes, declared);
}

bool ParseXml(std::string& utf8, pugi::xml_document& document,
              std::optional<std::size_t>* damagedAt) {
    // No parse_doctype: the DOCTYPE, internal subset and all, is skipped.
    // Blank text between inline elements is a space the reader needs.
    constexpr unsigned kOptions = pugi::parse_cdata | pugi::parse_escapes | pugi::parse_eol |
                                  pugi::parse_wconv_attribute | pugi::parse_ws_pcdata;
    // Parsing in place ends the last text with a terminating zero; without
    // one of its own the buffer's last character would be overwritten.
    const std::size_t length = utf8.size();
    utf8.push_back('\0');
    const pugi::xml_parse_result result =
        document.load_buffer_inplace(utf8.data(), utf8.size(), kOptions, pugi::encoding_utf8);
    if (damagedAt != nullptr) {
        *damagedAt = std::nullopt;
        if (!result) {
            *damagedAt = std::min(
                static_cast<std::size_t>(std::max<std::ptrdiff_t>(result.offset, 0)), length);
        }
    }
    return static_cast<bool>(document.document_element());
}

std::string_view LocalName(const pugi::xml_node& node) {
    const std::string_view name = node.name();
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_attribute AttributeByLocalName(const pugi::xml_node& node, std::string_view name) {
    for (pugi::xml_attribute attribute : node.attributes()) {
        std::string_view full = attribute.name();
        const std::size_t colon = full.find(':');
        if (colon != std::string_view::npos) full = full.substr(colon + 1);
        if (full == name) return attribute;
    }
    return {};
}

pugi::xml_node ChildByLocalName(const pugi::xml_node& node, std::string_view name) {
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_element && LocalName(child) == name) return child;
    }
    return {};
}
