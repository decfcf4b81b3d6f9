#include "library/ShelfDocument.h"

#include <fcntl.h>
#include <unistd.h>
#include <algorithm>

#include "library/ShelfFile.h"
#include "library/ShelfRecord.h"

void ShelfDocument::AddBookmark(Bookmark bookmark) {
    const auto at = std::find_if(bookmarks_.begin(), bookmarks_.end(), [&](const Bookmark& b) {
        return b.position >= bookmark.position;
    });
    bookmarks_.insert(at, std::move(bookmark));
}

std::optional<Bookmark> ShelfDocument::GetBookmark(std::size_t index) const {
    if (index >= bookmarks_.size()) return std::nullopt;
    return bookmarks_[index];
}

std::optional<std::size_t> ShelfDocument::FindResumeBookmark() const {
    const auto at = std::find_if(bookmarks_.begin(), bookmarks_.end(),
                                 [](const Bookmark& b) { return b.name == U"."; });
    if (at == bookmarks_.end()) return std::nullopt;
    return static_cast<std::size_t>(at - bookmarks_.begin());
}

void ShelfDocument::RemoveBookmark(std::size_t index) {
    if (index < bookmarks_.size()) {
        bookmarks_.erase(bookmarks_.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

std::vector<std::u32string> ShelfDocument::BookmarkNames() const {
    std::vector<std::u32string> names;
    names.reserve(bookmarks_.size());
    for (const Bookmark& b : bookmarks_) names.push_back(b.name);
    return names;
}

bool ShelfDocument::FileExists() const {
    if (path.empty()) return false;
    // Without waiting: a pipe opened for reading would wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

void ShelfDocument::Clear() {
    bookmarks_.clear();
    key = kNoDocument;
    path.clear();
    name.clear();
    if (host_ != nullptr) host_->DocumentCleared();
}

int ShelfDocument::ReturnToShelf() {
    if (key > 0 && host_ != nullptr) host_->ReturnToShelf(*this);
    return key;
}

void ShelfDocument::CloseCurrent() {
    ReturnToShelf();
    Clear();
}

bool ShelfDocument::LoadFromShelf(ShelfFile& shelf, int shelfKey) {
    std::optional<std::string> record = shelf.ReadRecord(shelfKey);
    if (!record) return false;
    const bool reopening = shelfKey > 0 && key == shelfKey;
    const int storedKey = ReturnToShelf();
    Clear();
    if (reopening) {
        if (std::optional<std::string> stored = shelf.ReadRecord(storedKey)) {
            record = std::move(stored);
            shelfKey = storedKey;
        }
    }
    if (!LoadRecord(*record, *this)) return false;
    key = shelfKey;
    return true;
}
