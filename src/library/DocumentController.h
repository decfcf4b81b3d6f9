#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>

#include "books/BookText.h"
#include "library/ShelfContents.h"
#include "library/ShelfDocument.h"
#include "text/DocumentLoader.h"
#include "text/DocumentPath.h"
#include "text/DocumentText.h"
#include "text/TextRules.h"

class ShelfFile;
class QWidget;
struct ReaderSettings;

// The open document and the shelf it may belong to: opening a file or the
// clipboard, putting the document on the shelf, its bookmarks, and handing it
// back to the shelf when it closes. It owns the document's text, the one
// place the text changes, and tells the window what changed through its
// signals; showing the text and what reading does with it are the window's
// business. The selection is the text pane's: the controller asks for it and
// asks for a new one.
class DocumentController : public QObject, private DocumentHost {
    Q_OBJECT

public:
    using SelectionSource = std::function<TextRange()>;
    // `selection` gives the text pane's selection; `window` parents the
    // dialogs and messages; the settings give the list dialogs their
    // remembered sizes.
    DocumentController(ShelfDocument& document, ShelfFile& shelf, SelectionSource selection,
                       ReaderSettings& settings, QSize screenSize, QWidget* window);
    ~DocumentController() override;

    const ShelfDocument& Document() const { return document_; }
    const DocumentText& Text() const { return text_; }
    // The shelf's records for its dialog; nothing when the shelf cannot be read.
    std::optional<std::vector<ShelfListEntry>> ShelfEntries();
    QString Title() const;

    // Loads the file at `path` (the platform's bytes) as a document not on
    // the shelf, closing the open one. A file that is refused, cannot be
    // read or whose load is cancelled leaves the open document, its text and
    // title as they were: false, with the message shown.
    bool OpenFile(std::string path);
    // Loads the file the open document names; the caller has set its path
    // and key. A shelved document goes back to where reading stopped. A file
    // that cannot be read leaves no document open.
    bool LoadDocument();
    // How books are read: LoadBookFile, unless a test puts a reader of its
    // own in its place. Called on a worker thread.
    using BookLoad =
        std::function<LoadedText(const std::string& path, DocumentKind kind, const BookProgress&)>;
    void SetBookLoad(BookLoad load) { bookLoad_ = std::move(load); }
    // Loads the clipboard's text as a document of its own; a clipboard with
    // no text in it is told and changes nothing.
    void LoadClipboard();
    // Closes the open document, handing a shelved one back to the shelf.
    void CloseCurrent() { document_.CloseCurrent(); }
    // Closes the open document for good as the program ends. A shelved
    // one's record is stored; when it cannot be and `mayAsk`, the user
    // chooses: try again, save the shelf in another place, or exit without
    // saving. False when the question was closed unanswered: the document
    // stays open. A session that ends cannot ask: what fails is left as it is.
    bool CloseForExit(bool mayAsk);
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
    // After FileMissing: the document is not left open, and its record is
    // deleted when `removeRecord`; true when it was.
    bool DropMissingDocument(bool removeRecord);
    // The bookmarks dialog's "Перейти": puts the caret there and reads on.
    enum class BookmarkGo { Went, Changed, Missing };
    BookmarkGo GoToBookmark(std::size_t index);
    // Removes a bookmark; a shelved document's record follows at once.
    void RemoveBookmark(std::size_t index);

signals:
    void TitleChanged(const QString& title);
    // The document's text changed (a new one, or none): the text pane shows
    // it anew.
    void TextChanged();
    // A new text was opened: reading starts afresh.
    void TextReplaced();
    // The text pane should select a range.
    void SelectionRequested(std::size_t start, std::size_t end);
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
    bool StoreForExit(ShelfDocument& stored, bool mayAsk);
    bool SaveShelfElsewhere(ShelfDocument& stored);
    // Reads a file, a book with the progress dialog; none, with the message
    // shown unless the user cancelled, when it is refused or cannot be read.
    std::optional<LoadedText> ReadContent(const std::string& path);
    // Shows what the open document's file gave.
    void ShowLoaded(LoadedText content);

    // Replaces the text and tells the window.
    void ShowText(CompactText text, std::vector<TextRun> runs = {},
                  std::vector<Heading> outline = {});
    void Select(TextRange range) { emit SelectionRequested(range.start, range.end); }

    ShelfDocument& document_;
    ShelfFile& shelf_;
    DocumentText text_;
    SelectionSource selection_;
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
