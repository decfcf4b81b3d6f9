#include "library/DocumentController.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>

#include "base/ProgramTexts.h"
#include "base/QtText.h"
#include "books/BookLoader.h"
#include "library/BookmarkRules.h"
#include "library/CBookmarkNameDlg.h"
#include "library/CBookmarksDlg.h"
#include "library/CLoadProgressDlg.h"
#include "library/CShelfDlg.h"
#include "library/CShelfNameDlg.h"
#include "library/LibraryDialogRules.h"
#include "library/ShelfFile.h"
#include "library/ShelfRecord.h"
#include "settings/ReaderSettings.h"
#include "text/ClipboardContent.h"
#include "text/DocumentLoader.h"
#include "text/DocumentPath.h"
#include "widgets/ProgramMessages.h"
#include "widgets/WaitCursor.h"

DocumentController::DocumentController(ShelfDocument& document, ShelfFile& shelf,
                                       SelectionSource selection, ReaderSettings& settings,
                                       QSize screenSize, QWidget* window)
    : QObject(window),
      document_(document),
      shelf_(shelf),
      selection_(std::move(selection)),
      settings_(settings),
      screenSize_(screenSize),
      window_(window),
      bookLoad_([](const std::string& path, DocumentKind kind, const BookProgress& progress) {
          return LoadBookFile(path, kind, progress);
      }) {
    document_.SetHost(this);
    constexpr int kPlaceSavingMs = 3 * 60 * 1000;
    placeSaver_.setInterval(kPlaceSavingMs);
    connect(&placeSaver_, &QTimer::timeout, this, &DocumentController::StoreRecord);
}

DocumentController::~DocumentController() { document_.SetHost(nullptr); }

QString DocumentController::Title() const { return ProgramText(WindowTitle(document_.name)); }

void DocumentController::UpdateTitle() { emit TitleChanged(Title()); }

bool DocumentController::OpenFile(std::string path) {
    // Read before anything is closed: a file that is refused, fails or is
    // cancelled leaves the open document, its text and title as they were.
    std::optional<LoadedText> content = ReadContent(path);
    if (!content) return false;
    document_.CloseCurrent();
    document_.key = ShelfDocument::kNotOnShelf;
    document_.path = std::move(path);
    document_.name = DocumentNameFromPath(document_.path);
    ShowLoaded(std::move(*content));
    return true;
}

std::optional<LoadedText> DocumentController::ReadContent(const std::string& path) {
    const std::optional<DocumentKind> kind = DocumentKindFromPath(path);
    if (!kind) {
        ShowMessage(window_, MessageCode::MSG_FILE_TYPE_REJECTED);
        return std::nullopt;
    }
    LoadedText content;
    if (IsBookKind(*kind)) {
        // A cancelled load may go on after this returns: it gets copies.
        content = RunLoadWithProgress(
            window_, [load = bookLoad_, path, kind = *kind](const BookProgress& progress) {
                return load(path, kind, progress);
            });
    } else {
        // Converting a page is the one such load that takes noticeable time.
        std::optional<WaitCursor> wait;
        if (*kind == DocumentKind::Html) wait.emplace();
        content = LoadDocumentFile(path, *kind);
    }
    if (content.error == LoadError::None) return content;
    if (content.error != LoadError::Cancelled)
        ShowMessage(window_, LoadErrorMessage(content.error));
    return std::nullopt;
}

bool DocumentController::LoadDocument() {
    std::optional<LoadedText> content = ReadContent(document_.path);
    if (!content) {
        document_.Clear();
        return false;
    }
    if (document_.key == ShelfDocument::kNotOnShelf) {
        document_.name = DocumentNameFromPath(document_.path);
    }
    ShowLoaded(std::move(*content));
    return true;
}

void DocumentController::ShowLoaded(LoadedText content) {
    bookAuthor_ = std::move(content.author);
    bookTitle_ = std::move(content.title);
    UpdateTitle();
    ShowText(std::move(content.text), std::move(content.runs), std::move(content.outline));
    if (content.damagedAtPercent)
        ShowWarning(window_, ProgramText(kBookDamagedAt).arg(*content.damagedAtPercent));
    if (content.truncated) ShowMessage(window_, MessageCode::MSG_TEXT_CUT);
    if (document_.key > 0) {
        if (const auto resume = RestoreResumePosition(text_.Characters(), document_)) {
            Select(*resume);
        }
        emit ReadFromCaret();
    }
    emit CommandsChanged();
}

void DocumentController::LoadClipboard() {
    std::optional<CompactText> text = ClipboardContent(QApplication::clipboard()->mimeData());
    if (!text) {
        ShowNote(window_, ProgramText(kClipboardHasNoText));
        return;
    }
    document_.CloseCurrent();
    bookAuthor_.clear();
    bookTitle_.clear();
    document_.key = ShelfDocument::kNoDocument;
    UpdateTitle();
    const bool truncated = CutToLimit(*text, kMaxTextLength);
    std::vector<Heading> outline = PlainTextOutline(*text);
    ShowText(std::move(*text), {}, std::move(outline));
    if (truncated) ShowMessage(window_, MessageCode::MSG_TEXT_CUT);
    emit CommandsChanged();
}

void DocumentController::ShowText(CompactText text, std::vector<TextRun> runs,
                                  std::vector<Heading> outline) {
    text_.Replace(std::move(text), std::move(runs), std::move(outline));
    emit TextChanged();
    emit TextReplaced();
}

std::optional<std::vector<ShelfListEntry>> DocumentController::ShelfEntries() {
    return shelf_.ListEntries();
}

void DocumentController::PutOnShelf() {
    if (!PathFitsRecord(document_.path)) {
        ShowMessage(window_, MessageCode::MSG_SHELF_PATH_TOO_LONG);
        return;
    }
    CShelfNameDlg dialog(OfferedShelfName(document_.name, bookAuthor_, bookTitle_), window_);
    if (dialog.exec() != QDialog::Accepted) return;
    const std::optional<std::int32_t> key = shelf_.AllocateKey();
    if (!key) {
        ShowMessage(window_, MessageCode::MSG_SHELF_UNAVAILABLE);
        return;
    }
    // The document takes its key and name only once its record is stored: a
    // key issued for a record that never reached the shelf would name
    // another document later.
    ShelfDocument shelved = document_;
    shelved.key = *key;
    shelved.name = StoredName(dialog.Name());
    if (!Rewrite(shelved)) return;
    document_.key = shelved.key;
    document_.name = shelved.name;
    UpdateTitle();
    emit CommandsChanged();
}

void DocumentController::ShowShelf() {
    CShelfDlg dialog(*this, ShelfDialogSizes(settings_), screenSize_, window_);
    dialog.exec();
    emit CommandsChanged();
}

void DocumentController::PlaceBookmark(bool skipDialog) {
    const std::optional<ProposedBookmark> proposal =
        DefaultBookmarkName(text_.Characters(), selection_().start);
    if (!proposal) {
        ShowMessage(window_, MessageCode::MSG_TEXT_TOO_SMALL);
        return;
    }
    std::u32string name = proposal->name;
    if (!skipDialog || name.empty()) {
        CBookmarkNameDlg dialog(name, window_);
        if (dialog.exec() != QDialog::Accepted) return;
        name = dialog.Name();
    }
    ::PlaceBookmark(text_.Characters(), proposal->position, StoredName(name), document_);
    StoreRecord();
}

void DocumentController::ShowBookmarks() {
    CBookmarksDlg dialog(*this, BookmarksDialogSizes(settings_), screenSize_, window_);
    dialog.exec();
    emit CommandsChanged();
}

DocumentController::ShelfOpen DocumentController::OpenFromShelf(int key) {
    // A shelved document is read before the open document is closed, so
    // that one that fails or is cancelled leaves it shown.
    std::optional<LoadedText> content;
    ShelfDocument shelved;
    if (const std::optional<std::string> record = shelf_.ReadRecord(key);
        record && LoadRecord(*record, shelved) && shelved.FileExists()) {
        content = ReadContent(shelved.path);
        if (!content) return ShelfOpen::NotOpened;
    }
    if (!document_.LoadFromShelf(shelf_, key)) return ShelfOpen::NotOpened;
    if (!document_.FileExists()) return ShelfOpen::FileMissing;
    // A shelved document is not left open without its text: a failure has
    // been told, and LoadDocument leaves no document.
    if (content) {
        ShowLoaded(std::move(*content));
    } else {
        LoadDocument();
    }
    return ShelfOpen::Opened;
}

bool DocumentController::RemoveFromShelf(int key) {
    if (key == document_.key) {
        // The open document goes back to the shelf before it is closed, as
        // every closing does. Storing the only record of a shelf renumbers it
        // to 1, so the record to delete is the one the document names then.
        ReturnToShelf(document_);
        key = document_.key;
        document_.Clear();
        emit TaskDropped();
    }
    return shelf_.Delete(key) == ShelfStatus::Done;
}

bool DocumentController::DropMissingDocument(bool removeRecord) {
    const bool removed = removeRecord && shelf_.Delete(document_.key) == ShelfStatus::Done;
    // The record stays on the shelf otherwise, but the document is not left
    // open: a record without its text would offer bookmarks that all look
    // invalid.
    document_.Clear();
    return removed;
}

DocumentController::BookmarkGo DocumentController::GoToBookmark(std::size_t index) {
    const BookmarkJump jump = ::GoToBookmark(text_.Characters(), document_, index, selection_());
    switch (jump.check) {
        case BookmarkCheck::Valid:
            Select(jump.selection);
            emit ReadFromCaret();
            return BookmarkGo::Went;
        case BookmarkCheck::Changed: return BookmarkGo::Changed;
        case BookmarkCheck::Missing: return BookmarkGo::Missing;
    }
    return BookmarkGo::Missing;
}

void DocumentController::RemoveBookmark(std::size_t index) {
    document_.RemoveBookmark(index);
    StoreRecord();
}

void DocumentController::ReadingStarted() {
    if (document_.key > 0) placeSaver_.start();
}

void DocumentController::ReadingStopped() {
    placeSaver_.stop();
    StoreRecord();
}

bool DocumentController::StoreRecord() {
    if (document_.key <= 0) return true;
    // The place where reading stopped goes into the stored record only: the
    // open document keeps its bookmarks as the user placed them.
    ShelfDocument stored = document_;
    StoreResumePosition(text_.Characters(), selection_().start, stored);
    if (!Rewrite(stored)) return false;
    document_.key = stored.key;  // the only record of a shelf is renumbered to 1
    return true;
}

bool DocumentController::Rewrite(ShelfDocument& document) {
    if (shelf_.Rewrite(document.key, document) == ShelfStatus::Done) {
        shelfWriteFailed_ = false;
        return true;
    }
    if (!shelfWriteFailed_) ShowWarning(window_, ProgramText(kShelfWriteFailed));
    shelfWriteFailed_ = true;
    return false;
}

void DocumentController::ReturnToShelf(ShelfDocument& document) {
    // The record is rewritten even when the resume position cannot be
    // stored (a text too short for a bookmark): its bookmarks must not be lost.
    StoreResumePosition(text_.Characters(), selection_().start, document);
    // The last chance to store them: the user hears of a failure even if an
    // earlier one was told already.
    shelfWriteFailed_ = false;
    Rewrite(document);
}

bool DocumentController::CloseForExit(bool mayAsk) {
    placeSaver_.stop();
    if (document_.key > 0) {
        ShelfDocument stored = document_;
        StoreResumePosition(text_.Characters(), selection_().start, stored);
        if (!StoreForExit(stored, mayAsk)) return false;
    }
    // The record has been dealt with: closing must not write it, nor tell of
    // it, again.
    document_.Clear();
    return true;
}

bool DocumentController::StoreForExit(ShelfDocument& stored, bool mayAsk) {
    const QStringList answers = {ProgramText(kRetryAnswer), ProgramText(kSaveShelfElsewhereAnswer),
                                 ProgramText(kExitWithoutSavingAnswer)};
    for (;;) {
        if (shelf_.Rewrite(stored.key, stored) == ShelfStatus::Done) return true;
        // Nothing is lost when the shelf holds the record as it is already.
        const std::optional<std::string> kept = shelf_.ReadRecord(stored.key);
        if (!mayAsk || (kept && *kept == BuildRecord(stored))) return true;
        switch (AskChoice(window_, ProgramText(kShelfUnsavedAtExit), answers)) {
            case 0: break;
            case 1:
                if (SaveShelfElsewhere(stored)) return true;
                break;
            case 2: return true;
            default: return false;
        }
    }
}

bool DocumentController::SaveShelfElsewhere(ShelfDocument& stored) {
    const QString path = QFileDialog::getSaveFileName(
        window_, ProgramText(kSaveShelfElsewhereTitle), QDir::home().filePath("bksh.dat"), {},
        nullptr, QFileDialog::DontUseNativeDialog);
    if (path.isEmpty()) return false;
    ShelfFile elsewhere;
    elsewhere.SetPath(QFile::encodeName(path).toStdString());
    return shelf_.CopyInto(elsewhere, stored.key, stored) == ShelfStatus::Done;
}

void DocumentController::DocumentCleared() {
    bookAuthor_.clear();
    bookTitle_.clear();
    text_.Clear();
    emit TextChanged();
    UpdateTitle();
    emit CommandsChanged();
}
