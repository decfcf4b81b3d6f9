#include "library/LibraryDialogRules.h"

#include "settings/ReaderSettings.h"

#include <algorithm>

namespace {

// A positive limit caps the value; 0 (an unknown screen) leaves it alone.
int CapAt(int value, int limit) { return limit > 0 ? std::min(value, limit) : value; }

}  // namespace

std::optional<std::size_t> ChosenEntry(std::optional<std::size_t> selected, std::size_t count,
                                       bool loneEntryWithoutSelection) {
    if (selected) {
        if (*selected < count) return selected;
        return std::nullopt;
    }
    if (loneEntryWithoutSelection && count == 1) return 0;
    return std::nullopt;
}

DialogGeometry OpenListDialog(DialogSizeFields fields, int clientWidth, int clientHeight,
                              int screenWidth, int screenHeight) {
    if (fields.width <= 0 || fields.height <= 0) {
        fields.width = clientWidth;
        fields.height = clientHeight;
        fields.minWidth = clientWidth;
        fields.minHeight = clientHeight;
    }
    DialogGeometry geometry;
    geometry.minWidth = CapAt(fields.minWidth > 0 ? fields.minWidth : clientWidth, screenWidth);
    geometry.minHeight =
        CapAt(fields.minHeight > 0 ? fields.minHeight : clientHeight, screenHeight);
    geometry.width = CapAt(std::max(fields.width, geometry.minWidth), screenWidth);
    geometry.height = CapAt(std::max(fields.height, geometry.minHeight), screenHeight);
    geometry.left = (screenWidth - geometry.width) >> 1;
    geometry.top = (screenHeight - geometry.height) >> 1;
    return geometry;
}

std::u32string OfferedShelfName(std::u32string_view documentName) {
    return std::u32string(documentName.substr(0, documentName.rfind(U'.')));
}

std::u32string OfferedShelfName(std::u32string_view documentName, std::u32string_view author,
                                std::u32string_view title) {
    const std::u32string bookTitle = TrimName(title);
    if (bookTitle.empty()) {
        // "tale.fb2.zip" is offered as "tale", not "tale.fb2".
        std::u32string name = OfferedShelfName(documentName);
        constexpr std::u32string_view kFb2 = U".fb2";
        if (name.size() > kFb2.size() && documentName.size() > name.size()) {
            std::u32string end = name.substr(name.size() - kFb2.size());
            for (char32_t& c : end) c = c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c;
            if (end == kFb2) name.resize(name.size() - kFb2.size());
        }
        return name;
    }
    const std::u32string bookAuthor = TrimName(author);
    return bookAuthor.empty() ? bookTitle : bookAuthor + U" - " + bookTitle;
}

std::u32string TrimName(std::u32string_view name) {
    constexpr std::u32string_view kWhiteSpace = U" \t\r\n\v\f";
    const std::size_t first = name.find_first_not_of(kWhiteSpace);
    if (first == std::u32string_view::npos) return {};
    const std::size_t last = name.find_last_not_of(kWhiteSpace);
    return std::u32string(name.substr(first, last - first + 1));
}

DialogSizeFields ShelfDialogSizes(ReaderSettings& s) {
    return {s.shelfDialogWidth, s.shelfDialogHeight, s.shelfDialogMinWidth, s.shelfDialogMinHeight};
}

DialogSizeFields BookmarksDialogSizes(ReaderSettings& s) {
    return {s.bookmarksDialogWidth, s.bookmarksDialogHeight, s.bookmarksDialogMinWidth,
            s.bookmarksDialogMinHeight};
}
