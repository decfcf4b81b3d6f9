#include "library/CDocumentController.h"

#include <QGuiApplication>

#include "base/ProgramTexts.h"
#include "base/QtText.h"
#include "library/BookmarkRules.h"
#include "library/CMarkNameDlg.h"
#include "library/CMarksDlg.h"
#include "library/CShelfDlg.h"
#include "library/CShelfFile.h"
#include "library/CShelfNameDlg.h"
#include "library/LibraryDialogRules.h"
#include "settings/ReaderSettings.h"
#include "text/CTextCtrl.h"
#include "text/DocumentLoader.h"
#include "text/DocumentPath.h"
#include "widgets/ProgramMessages.h"
#include "widgets/WaitCursor.h"

CDocumentController::CDocumentController(ShelfDocument& document, CShelfFile& shelf,
                                         CTextCtrl& text, ReaderSettings& settings,
                                         QSize screenSize, QWidget* window)
    : QObject(window),
      document_(document),
      shelf_(shelf),
      text_(text),
      settings_(settings),
      screenSize_(screenSize),
      window_(window) {
    document_.SetHost(this);
}

CDocumentController::~CDocumentController() { document_.SetHost(nullptr); }

QString CDocumentController::Title() const { return ToQString(WindowTitle(document_.name)); }

void CDocumentController::UpdateTitle() { emit TitleChanged(Title()); }

bool CDocumentController::OpenFile(std::string path) {
    document_.CloseCurrent();
    document_.key = ShelfDocument::kNotOnShelf;
    document_.path = std::move(path);
    return LoadDocument();
}

bool CDocumentController::LoadDocument() {
    const std::optional<DocumentKind> kind = DocumentKindFromPath(document_.path);
    if (!kind) {
        ShowMessage(window_, MessageCode::MSG_FILE_TYPE_REJECTED);
        return false;
    }
    if (document_.key == ShelfDocument::kNotOnShelf) {
        document_.name = DocumentNameFromPath(document_.path);
    }
    LoadedText content;
    {
        // Converting a page is the one load that takes noticeable time.
        std::optional<WaitCursor> wait;
        if (*kind == DocumentKind::Html) wait.emplace();
        content = LoadDocumentFile(document_.path, *kind);
    }
    if (content.error != LoadError::None) {
        document_.Clear();
        ShowMessage(window_, MessageCode::MSG_FILE_OPEN_FAILED);
        return false;
    }
    UpdateTitle();
    text_.ApplyDefaultFormat();
    text_.SetText(std::move(content.text));
    text_.ApplyRuns(content.runs);
    text_.TrimTrailingBlanks();
    text_.SetCaret(0);
    emit TextReplaced();
    if (document_.key > 0) {
        if (const auto resume = RestoreResumePosition(text_.Text(), document_)) {
            text_.SetSelection(resume->start, resume->end);
        }
        emit ReadFromCaret();
    }
    emit CommandsChanged();
    return true;
}

void CDocumentController::LoadClipboard() {
    document_.CloseCurrent();
    document_.key = ShelfDocument::kNoDocument;
    text_.ApplyDefaultFormat();
    text_.ReplaceWithClipboard();
    text_.SetCaret(0);
    UpdateTitle();
    emit TextReplaced();
    emit CommandsChanged();
}

void CDocumentController::PutOnShelf() {
    CShelfNameDlg dialog(OfferedShelfName(document_.name), window_);
    if (dialog.exec() != QDialog::Accepted) return;
    const std::optional<std::int32_t> key = shelf_.AllocateKey();
    if (!key) {
        ShowMessage(window_, MessageCode::MSG_SHELF_UNAVAILABLE);
        return;
    }
    document_.key = *key;
    document_.name = dialog.Name();
    UpdateTitle();
    shelf_.Rewrite(document_.key, document_);
    emit CommandsChanged();
}

void CDocumentController::ShowShelf() {
    CShelfDlg dialog(*this, ShelfDialogSizes(settings_), screenSize_, window_);
    dialog.exec();
    emit CommandsChanged();
}

void CDocumentController::PlaceBookmark(bool skipDialog) {
    const std::optional<ProposedBookmark> proposal =
        DefaultBookmarkName(text_.Text(), text_.Selection().start);
    if (!proposal) {
        ShowMessage(window_, MessageCode::MSG_TEXT_TOO_SMALL);
        return;
    }
    std::string name = proposal->name;
    if (!skipDialog || name.empty()) {
        CMarkNameDlg dialog(name, window_);
        if (dialog.exec() != QDialog::Accepted) return;
        name = dialog.Name();
    }
    ::PlaceBookmark(text_.Text(), proposal->position, std::move(name), document_);
}

void CDocumentController::ShowBookmarks() {
    CMarksDlg dialog(*this, BookmarksDialogSizes(settings_), screenSize_, window_);
    dialog.exec();
    emit CommandsChanged();
}

CDocumentController::ShelfOpen CDocumentController::OpenFromShelf(int key) {
    if (!document_.LoadFromShelf(shelf_, key)) return ShelfOpen::NotOpened;
    if (!document_.FileExists()) return ShelfOpen::FileMissing;
    // A shelved document is not left open without its text: the failure
    // has been reported.
    if (!LoadDocument()) document_.Clear();
    return ShelfOpen::Opened;
}

bool CDocumentController::RemoveFromShelf(int key) {
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

CDocumentController::BookmarkGo CDocumentController::GoToBookmark(std::size_t index) {
    const BookmarkJump jump = ::GoToBookmark(text_.Text(), document_, index, text_.Selection());
    switch (jump.check) {
        case BookmarkCheck::Valid:
            text_.SetSelection(jump.selection.start, jump.selection.end);
            emit ReadFromCaret();
            return BookmarkGo::Went;
        case BookmarkCheck::Changed:
            return BookmarkGo::Changed;
        case BookmarkCheck::Missing:
            return BookmarkGo::Missing;
    }
    return BookmarkGo::Missing;
}

void CDocumentController::ReturnToShelf(ShelfDocument& document) {
    // The record is rewritten even when the resume position cannot be
    // stored (a text too short for a bookmark): its bookmarks must not be lost.
    StoreResumePosition(text_.Text(), text_.Selection().start, document);
    shelf_.Rewrite(document.key, document);
}

void CDocumentController::DocumentCleared() {
    text_.SetText({});
    UpdateTitle();
    emit CommandsChanged();
}
