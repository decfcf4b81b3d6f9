#include "books/OfficePackage.h"

LoadError ReadPackagePart(ZipArchive& archive, std::string_view name, bool required,
                          std::string& out) {
    switch (archive.Read(name, out)) {
        case ZipArchive::Status::Ok: return LoadError::None;
        case ZipArchive::Status::Encrypted: return LoadError::Encrypted;
        case ZipArchive::Status::TooLarge: return LoadError::BookTooLarge;
        case ZipArchive::Status::Cancelled: return LoadError::Cancelled;
        case ZipArchive::Status::Damaged:
        case ZipArchive::Status::Missing: break;
    }
    out.clear();
    return required ? LoadError::Damaged : LoadError::None;
}

std::u32string AuthorList(std::string_view utf8) {
    std::u32string authors;
    std::size_t start = 0;
    while (start <= utf8.size()) {
        std::size_t end = utf8.find(';', start);
        if (end == std::string_view::npos) end = utf8.size();
        const std::u32string name = CollapsedText(utf8.substr(start, end - start));
        if (!name.empty()) {
            if (!authors.empty()) authors += U", ";
            authors += name;
        }
        start = end + 1;
    }
    return authors;
}

bool WalkOfficeBody(const pugi::xml_node& body, const BookTextBuilder& out,
                    const BookProgress& progress,
                    const std::function<void(const pugi::xml_node&)>& walkElement,
                    const std::function<void()>& walkNotes) {
    std::size_t total = 1;  // the notes
    for (pugi::xml_node child : body.children()) total += child.type() == pugi::node_element;
    std::size_t done = 0;
    if (progress && !progress(done, total)) return false;
    for (pugi::xml_node child : body.children()) {
        if (child.type() != pugi::node_element) continue;
        walkElement(child);
        if (progress && !progress(++done, total)) return false;
        if (out.Full()) break;
    }
    walkNotes();
    return !progress || progress(total, total);
}
