#pragma once

#include <optional>
#include <string>
#include <vector>

#include "library/Bookmark.h"

class ShelfFile;
class ShelfDocument;

// What closing a document does outside the model: the desktop layer empties
// the text pane and refreshes the title, and hands a shelved document back to
// the shelf. Keeping it behind this interface keeps the model free of widgets.
class DocumentHost {
public:
    virtual ~DocumentHost() = default;
    // A shelved document is being closed: store where reading stopped and
    // rewrite its shelf record.
    virtual void ReturnToShelf(ShelfDocument& document) = 0;
    // The document has been cleared: empty the text pane, refresh the title.
    virtual void DocumentCleared() = 0;
};

// The document open in the text pane: its file, its name in the title, its
// shelf key and its bookmarks in ascending order of position.
class ShelfDocument {
public:
    static constexpr int kNoDocument = -1;
    static constexpr int kNotOnShelf = 0;

    std::string path;  // the platform's bytes; empty for clipboard text
    std::u32string name;  // stored in Windows-1251
    int key = kNoDocument;

    void SetHost(DocumentHost* host) { host_ = host; }

    const std::vector<Bookmark>& Bookmarks() const { return bookmarks_; }
    // A new bookmark goes in front of the first one at the same or a later
    // position, so equal positions list newest first.
    void AddBookmark(Bookmark bookmark);
    std::optional<Bookmark> GetBookmark(std::size_t index) const;
    // The resume position is the first bookmark named exactly ".".
    std::optional<std::size_t> FindResumeBookmark() const;
    void RemoveBookmark(std::size_t index);
    std::vector<std::u32string> BookmarkNames() const;
    void ClearBookmarks() { bookmarks_.clear(); }
    // Takes a stored list as it is, without re-sorting: a shelf record keeps
    // its bookmarks in the order they were written.
    void SetBookmarks(std::vector<Bookmark> bookmarks) { bookmarks_ = std::move(bookmarks); }

    bool FileExists() const;
    // Drops the bookmarks, forgets path, name and key, and tells the host.
    void Clear();
    // Hands a shelved document back to the shelf, then clears.
    void CloseCurrent();
    // Makes the shelf record with that key the open document: false, with the
    // open document left as it was, when there is no such record, and with
    // no document open when the record is malformed. Otherwise
    // the open document is closed first; when it was this very record, the
    // record is read again after that, so bookmarks placed since it was
    // opened and the place where reading stopped are not lost.
    bool LoadFromShelf(ShelfFile& shelf, int shelfKey);

private:
    // Tells the host to store a shelved document; gives the key its record
    // has afterwards (storing the only record of a shelf renumbers it to 1).
    int ReturnToShelf();

    std::vector<Bookmark> bookmarks_;
    DocumentHost* host_ = nullptr;
};
