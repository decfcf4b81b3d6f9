#include "text/DocumentPath.h"

#include <dirent.h>
#include <sys/stat.h>
#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>
#include <vector>

#include "text/TextDecoding.h"

bool IsBookKind(DocumentKind kind) {
    return kind != DocumentKind::PlainText && kind != DocumentKind::RichText &&
           kind != DocumentKind::Html;
}

std::optional<DocumentKind> DocumentKindFromPath(std::string_view path) {
    std::string upper(path);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    // The double extension first: "book.fb2.zip" is not a ZIP.
    if (upper.ends_with(".FB2.ZIP")) return DocumentKind::Fb2Zip;
    const std::size_t dot = upper.rfind('.');
    if (dot == std::string::npos) return std::nullopt;
    const std::string_view extension = std::string_view(upper).substr(dot + 1);
    struct Entry {
        std::string_view extension;
        DocumentKind kind;
    };
    static constexpr std::array<Entry, 10> kKinds = {{
        {"TXT", DocumentKind::PlainText},
        {"RTF", DocumentKind::RichText},
        {"HTM", DocumentKind::Html},
        {"HTML", DocumentKind::Html},
        {"PLG", DocumentKind::Html},
        {"FB2", DocumentKind::Fb2},
        {"EPUB", DocumentKind::Epub},
        {"PDF", DocumentKind::Pdf},
        {"DOCX", DocumentKind::Docx},
        {"ODT", DocumentKind::Odt},
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

std::u32string DocumentNameFromPath(std::string_view path) {
    const std::string_view name = PathFileName(path);
    // A few bytes are too little to tell one legacy encoding from another.
    const bool utf8 = DetectDocumentCharset(name) == "UTF-8";
    return DecodeCharset(name, utf8 ? "UTF-8" : "windows-1251").value_or(std::u32string());
}

namespace {

// U+FFFD in UTF-8.
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Whether a real name can be shown as shown: every U+FFFD of shown stands for
// one to three bytes of name, every other byte for itself.
bool ShownAs(std::string_view name, std::string_view shown) {
    // reachable[j]: the first j bytes of name match the part of shown read so far.
    std::vector<char> reachable(name.size() + 1, 0);
    reachable[0] = 1;
    std::size_t at = 0;
    while (at < shown.size()) {
        std::vector<char> next(name.size() + 1, 0);
        const bool wildcard = shown.substr(at).starts_with(kReplacement);
        for (std::size_t j = 0; j < name.size(); ++j) {
            if (!reachable[j]) continue;
            if (wildcard) {
                for (std::size_t n = 1; n <= 3 && j + n <= name.size(); ++n) next[j + n] = 1;
            } else if (name[j] == shown[at]) {
                next[j + 1] = 1;
            }
        }
        reachable = std::move(next);
        at += wildcard ? kReplacement.size() : 1;
    }
    return reachable[name.size()] != 0;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// The one entry of folder that is shown as shown, by the desktop's widgets
// or by the program's title; nothing for none or several.
std::optional<std::string> EntryShownAs(const std::string& folder, std::string_view shown) {
    DIR* directory = ::opendir(folder.empty() ? "." : folder.c_str());
    if (directory == nullptr) return std::nullopt;
    const std::optional<std::u32string> shownText = DecodeCharset(shown, "UTF-8");
    std::optional<std::string> found;
    bool several = false;
    while (const dirent* entry = ::readdir(directory)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == ".." ||
            !(ShownAs(name, shown) || DocumentNameFromPath(name) == shownText))
            continue;
        several = found.has_value();
        if (several) break;
        found = std::string(name);
    }
    ::closedir(directory);
    if (several) return std::nullopt;
    return found;
}

}  // namespace

std::string ResolveDisplayedPath(std::string_view shownPath) {
    const std::string shown(shownPath);
    if (shown.empty() || Exists(shown)) return shown;
    std::string resolved;
    std::size_t start = 0;
    while (start <= shown.size()) {
        const std::size_t slash = std::min(shown.find('/', start), shown.size());
        const std::string_view part = std::string_view(shown).substr(start, slash - start);
        const std::string folder = resolved;
        std::string candidate = resolved + std::string(part);
        if (!part.empty() && !Exists(candidate)) {
            const std::optional<std::string> entry = EntryShownAs(folder, part);
            if (!entry) return shown;
            candidate = resolved + *entry;
        }
        resolved = std::move(candidate);
        if (slash < shown.size()) resolved += '/';
        start = slash + 1;
    }
    return resolved;
}

std::string AbsoluteDocumentPath(std::string_view path) {
    namespace fs = std::filesystem;
    if (path.empty()) return {};
    std::error_code error;
    const fs::path absolute = fs::absolute(fs::path(path), error);
    if (error) return std::string(path);
    const fs::path name = absolute.filename();
    const bool named = !name.empty() && name != "." && name != "..";
    const fs::path folder = fs::weakly_canonical(named ? absolute.parent_path() : absolute, error);
    if (error) return absolute.lexically_normal().string();
    return (named ? folder / name : folder).string();
}
