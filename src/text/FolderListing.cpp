#include "text/FolderListing.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <memory>
#include <tuple>

#include "text/DocumentPath.h"

namespace {

std::u32string Folded(std::u32string_view text) {
    std::u32string folded(text);
    for (char32_t& c : folded)
        c = static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
    return folded;
}

}  // namespace

std::optional<std::vector<FolderEntry>> ListDocumentFolder(const std::string& folder) {
    const std::unique_ptr<DIR, int (*)(DIR*)> directory(::opendir(folder.c_str()), ::closedir);
    if (!directory) return std::nullopt;
    const std::string prefix = folder.ends_with('/') ? folder : folder + '/';
    std::vector<FolderEntry> entries;
    while (const dirent* entry = ::readdir(directory.get())) {
        const std::string name = entry->d_name;
        if (name.starts_with('.')) continue;
        // stat, not lstat: a link to a folder is gone into like the folder.
        struct stat info {};
        if (::stat((prefix + name).c_str(), &info) != 0) continue;
        const bool isFolder = S_ISDIR(info.st_mode);
        if (!isFolder && !DocumentKindFromPath(name)) continue;
        entries.push_back({name, DocumentNameFromPath(name), isFolder});
    }
    const auto order = [](const FolderEntry& e) {
        return std::tuple(!e.isFolder, Folded(e.shown), e.name);
    };
    std::ranges::sort(entries, {}, order);
    return entries;
}

std::string ParentFolder(std::string_view folder) {
    while (folder.size() > 1 && folder.ends_with('/')) folder.remove_suffix(1);
    const std::size_t slash = folder.rfind('/');
    if (slash == std::string_view::npos) return ".";
    return std::string(folder.substr(0, std::max<std::size_t>(slash, 1)));
}

std::u32string ShownPath(std::string_view path) {
    std::u32string shown;
    std::size_t start = 0;
    for (std::size_t slash; (slash = path.find('/', start)) != std::string_view::npos;
         start = slash + 1)
        shown += DocumentNameFromPath(path.substr(start, slash - start)) + U'/';
    return shown + DocumentNameFromPath(path.substr(start));
}
