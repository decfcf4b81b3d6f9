#include "text/HtmlCharset.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace {

// A tag that begins in the scanned start may run on this far, so that one cut
// by the limit is still read whole.
constexpr std::size_t kTagReach = 1024;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}

struct Attribute {
    std::string name;  // lower case
    std::string_view value;
};

// Reads attributes the way a browser's prescan does, from pos up to the
// end of the tag.
class TagReader {
public:
    TagReader(std::string_view bytes, std::size_t pos) : bytes_(bytes), pos_(pos) {}

    std::size_t Position() const { return pos_; }

    // The next attribute; nothing at the end of the tag or of the bytes.
    std::optional<Attribute> Next() {
        while (pos_ < bytes_.size() && (IsSpace(bytes_[pos_]) || bytes_[pos_] == '/')) ++pos_;
        if (pos_ >= bytes_.size() || bytes_[pos_] == '>') return std::nullopt;
        Attribute attribute;
        // The name: a first "=" or "/" belongs to it.
        for (bool first = true; pos_ < bytes_.size(); first = false) {
            const char c = bytes_[pos_];
            if ((c == '=' && !first) || IsSpace(c)) break;
            if ((c == '/' || c == '>') && !first) return attribute;
            attribute.name.push_back(Lower(c));
            ++pos_;
        }
        while (pos_ < bytes_.size() && IsSpace(bytes_[pos_])) ++pos_;
        if (pos_ >= bytes_.size() || bytes_[pos_] != '=') return attribute;
        ++pos_;
        while (pos_ < bytes_.size() && IsSpace(bytes_[pos_])) ++pos_;
        if (pos_ >= bytes_.size()) return attribute;
        const char quote = bytes_[pos_];
        if (quote == '"' || quote == '\'') {
            const std::size_t end = bytes_.find(quote, pos_ + 1);
            if (end == std::string_view::npos) {
                pos_ = bytes_.size();
                return std::nullopt;
            }
            attribute.value = bytes_.substr(pos_ + 1, end - pos_ - 1);
            pos_ = end + 1;
            return attribute;
        }
        const std::size_t start = pos_;
        while (pos_ < bytes_.size() && !IsSpace(bytes_[pos_]) && bytes_[pos_] != '>') ++pos_;
        attribute.value = bytes_.substr(start, pos_ - start);
        return attribute;
    }

private:
    std::string_view bytes_;
    std::size_t pos_;
};

// "text/html; charset=windows-1251" gives "windows-1251".
std::optional<std::string_view> CharsetFromContentType(std::string_view content) {
    for (std::size_t at = 0; at + 7 <= content.size(); ++at) {
        if (!EqualsIgnoringCase(content.substr(at, 7), "charset")) continue;
        std::size_t pos = at + 7;
        while (pos < content.size() && IsSpace(content[pos])) ++pos;
        if (pos >= content.size() || content[pos] != '=') continue;
        ++pos;
        while (pos < content.size() && IsSpace(content[pos])) ++pos;
        if (pos >= content.size()) return std::nullopt;
        const char quote = content[pos];
        if (quote == '"' || quote == '\'') {
            const std::size_t end = content.find(quote, pos + 1);
            if (end == std::string_view::npos) return std::nullopt;
            return content.substr(pos + 1, end - pos - 1);
        }
        std::size_t end = pos;
        while (end < content.size() && !IsSpace(content[end]) && content[end] != ';') ++end;
        return content.substr(pos, end - pos);
    }
    return std::nullopt;
}

// The charset a <meta> tag declares, its attributes read from reader.
std::optional<std::string_view> MetaCharset(TagReader& reader) {
    std::vector<std::string> seen;
    bool contentType = false;
    std::optional<std::string_view> charset;
    std::optional<std::string_view> fromContent;
    while (const std::optional<Attribute> attribute = reader.Next()) {
        // Only the first of attributes with the same name counts.
        if (std::find(seen.begin(), seen.end(), attribute->name) != seen.end()) continue;
        seen.push_back(attribute->name);
        if (attribute->name == "http-equiv") {
            contentType = EqualsIgnoringCase(attribute->value, "content-type");
        } else if (attribute->name == "charset") {
            charset = attribute->value;
        } else if (attribute->name == "content") {
            fromContent = CharsetFromContentType(attribute->value);
        }
    }
    if (charset) return charset;
    if (contentType) return fromContent;
    return std::nullopt;
}

// <?xml version="1.0" encoding="windows-1251"?>
std::optional<std::string_view> XmlDeclarationEncoding(std::string_view bytes) {
    if (!bytes.starts_with("<?xml")) return std::nullopt;
    const std::size_t end = bytes.find("?>");
    if (end == std::string_view::npos) return std::nullopt;
    TagReader reader(bytes.substr(0, end), 5);
    while (const std::optional<Attribute> attribute = reader.Next())
        if (attribute->name == "encoding") return attribute->value;
    return std::nullopt;
}

}  // namespace

std::optional<std::string> DeclaredHtmlCharset(std::string_view bytes) {
    const std::size_t scanEnd = std::min(bytes.size(), kHtmlCharsetScanBytes);
    bytes = bytes.substr(0, kHtmlCharsetScanBytes + kTagReach);
    const auto at = [&bytes](std::size_t pos, std::string_view s) {
        return EqualsIgnoringCase(bytes.substr(pos, s.size()), s);
    };
    std::size_t pos = 0;
    while (pos < scanEnd) {
        if (bytes[pos] != '<') {
            ++pos;
            continue;
        }
        if (at(pos, "<!--")) {
            const std::size_t end = bytes.find("-->", pos + 4);
            if (end == std::string_view::npos) break;
            pos = end + 3;
        } else if (at(pos, "<meta") && pos + 5 < bytes.size() &&
                   (IsSpace(bytes[pos + 5]) || bytes[pos + 5] == '/')) {
            TagReader reader(bytes, pos + 5);
            const std::optional<std::string_view> charset = MetaCharset(reader);
            if (charset && !Trim(*charset).empty()) return std::string(Trim(*charset));
            pos = reader.Position() + 1;
        } else if (pos + 1 < bytes.size() &&
                   (IsLetter(bytes[pos + 1]) || (bytes[pos + 1] == '/' && pos + 2 < bytes.size() &&
                                                 IsLetter(bytes[pos + 2])))) {
            // Another tag: its attributes may hold a ">" or "<meta" in quotes.
            pos += 2;
            while (pos < bytes.size() && !IsSpace(bytes[pos]) && bytes[pos] != '>') ++pos;
            TagReader reader(bytes, pos);
            while (reader.Next()) {
            }
            pos = reader.Position() + 1;
        } else if (pos + 1 < bytes.size() &&
                   (bytes[pos + 1] == '!' || bytes[pos + 1] == '/' || bytes[pos + 1] == '?')) {
            const std::size_t end = bytes.find('>', pos + 2);
            if (end == std::string_view::npos) break;
            pos = end + 1;
        } else {
            ++pos;
        }
    }
    return DeclaredXmlEncoding(bytes);
}

std::optional<std::string> DeclaredXmlEncoding(std::string_view bytes) {
    const std::optional<std::string_view> encoding = XmlDeclarationEncoding(bytes);
    if (!encoding || Trim(*encoding).empty()) return std::nullopt;
    return std::string(Trim(*encoding));
}
