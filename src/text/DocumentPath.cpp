#include "text/DocumentPath.h"

#include <array>

#include "base/CodePage.h"

std::optional<DocumentKind> DocumentKindFromPath(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos) return std::nullopt;
    std::string extension(path.substr(dot + 1));
    for (char& c : extension) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    struct Entry {
        std::string_view extension;
        DocumentKind kind;
    };
    static constexpr std::array<Entry, 5> kKinds = {{
        {"TXT", DocumentKind::PlainText},
        {"RTF", DocumentKind::RichText},
        {"HTM", DocumentKind::Html},
        {"HTML", DocumentKind::Html},
        {"PLG", DocumentKind::Html},
    }};
    for (const Entry& entry : kKinds) {
        if (extension == entry.extension) return entry.kind;
    }
    return std::nullopt;
}

std::string_view PathFileName(std::string_view path) {
    const std::size_t separator = path.find_last_of("/\\");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

std::string DocumentNameFromPath(std::string_view path) {
    return DocumentBytesToCp1251(std::string(PathFileName(path)));
}
