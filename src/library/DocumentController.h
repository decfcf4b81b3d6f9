#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>

#include "books/BookText.h"
#include "library/ShelfDocument.h"
#include "text/DocumentLoader.h"
#include "text/DocumentPath.h"

class ShelfFile;
class CTextCtrl;
class QWidget;
struct ReaderSettings;

// The document in the text pane and the shelf it may belong to: opening a
// file or the clipboard, putting the document on the shelf, its bookmarks,
// and handing it back to the shelf when it closes. It fills the text pane and
// tells the window what changed through its signals; what reading does with a
// new text is the window's business.
class DocumentController : public QObject, private DocumentHost {
    Q_OBJECT

public:
    // `window` parents the dialogs and messages; the settings give the list
    // dialogs their remembered sizes.
    DocumentController(ShelfDocument& document, ShelfFile& shelf, CTextCtrl& text,
                        ReaderSettings& settings, QSize screenSize, QWidget* window);
    ~DocumentController() override;

    ShelfDocument& Document() { return document_; }
    const ShelfDocument& Document() const { return document_; }
    ShelfFile& Shelf() { return shelf_; }
    QString Title() const;

    // Closes the open document and loads the file at `path` (the platform's
    // bytes) as a document not on the shelf. False, with the message shown,
    // when the file is refused (the document keeps its path) or cannot be
    // read (the document is cleared). A book is read before anything is
    // closed: one that fails or is cancelled leaves the open document and
    // its text as they were.
    bool OpenFile(std::string path);
    // Loads the file the open document names; the caller has set its path
    // and key. A shelved document goes back to where reading stopped.
    bool LoadDocument();
    // How books are read: LoadBookFile, unless a test puts a reader of its
    // own in its place. Called on a worker thread.
    using BookLoad =
        std::function<LoadedText(const std::string& path, DocumentKind kind, const BookProgress&)>;
    void SetBookLoad(BookLoad load) { bookLoad_ = std::move(load); }
    void LoadClipboard();
    // Closes the open document, handing a shelved one back to the shelf.
    void CloseCurrent() { document_.CloseCurrent(); }
    // Reading started or stopped: a shelved document's place in the text
    // reaches the shelf when reading stops and every few minutes while it
    // runs, so that a crash loses little.
    void ReadingStarted();
    void ReadingStopped();
    // Stores a shelved document's record with its bookmarks and the caret as
    // the place where reading stopped, keeping it open. A failure is told
    // once, until a write succeeds again; the document keeps everything in
    // memory meanwhile.
    bool StoreRecord();

    // The commands of the shelf and the bookmarks, each with its dialog.
    void PutOnShelf();
    void ShowShelf();
    // With `skipDialog` the proposed name is taken as it is, when there is
    // one: a bookmark placed at once.
    void PlaceBookmark(bool skipDialog);
    void ShowBookmarks();

    // The shelf dialog's actions on one record.
    enum class ShelfOpen { Opened, NotOpened, FileMissing };
    ShelfOpen OpenFromShelf(int key);
    // Takes the record off the shelf, closing it first when it is open.
    bool RemoveFromShelf(int key);
    // The bookmarks dialog's "Перейти": puts the caret there and reads on.
    enum class BookmarkGo { Went, Changed, Missing };
    BookmarkGo GoToBookmark(std::size_t index);
    // Removes a bookmark; a shelved document's record follows at once.
    void RemoveBookmark(std::size_t index);

signals:
    void TitleChanged(const QString& title);
    // The text pane holds a new text (or none): reading starts afresh.
    void TextReplaced();
    // The caret stands where reading should go on from: a bookmark or the
    // place a shelved document was left.
    void ReadFromCaret();
    // The open document's shelf entry went: no task, nothing to go on with.
    void TaskDropped();
    void CommandsChanged();

private:
    void ReturnToShelf(ShelfDocument& document) override;
    void DocumentCleared() override;
    void UpdateTitle();
    bool Rewrite(ShelfDocument& document);
    // Reads a book with the progress dialog; false, with the message shown
    // unless the user cancelled, when it cannot be read.
    std::optional<LoadedText> ReadBook(const std::string& path, DocumentKind kind);
    // Shows what the open document's file gave.
    bool ShowLoaded(LoadedText content);

    ShelfDocument& document_;
    ShelfFile& shelf_;
    CTextCtrl& text_;
    ReaderSettings& settings_;
    QSize screenSize_;
    QWidget* window_;
    QTimer placeSaver_;
    bool shelfWriteFailed_ = false;
    BookLoad bookLoad_;
    // The open book's own author and title, offered as its shelf name.
    std::u32string bookAuthor_;
    std::u32string bookTitle_;
};
