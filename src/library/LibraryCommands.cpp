#include "library/LibraryCommands.h"

#include <QGuiApplication>

#include "app/CLmnApp.h"
#include "base/ProgramTexts.h"
#include "frame/CMainFrame.h"
#include "library/BookmarkRules.h"
#include "library/CMarkNameDlg.h"
#include "library/CMarksDlg.h"
#include "library/CShelfDlg.h"
#include "library/CShelfFile.h"
#include "library/CShelfNameDlg.h"
#include "library/ShelfDocument.h"
#include "library/ShelfRecord.h"
#include "text/CTextCtrl.h"

void PutOnShelfCommand(CMainFrame& frame) {
    frame.StopReading();
    if (!PathFitsRecord(CLmnApp::Instance()->Document().path)) {
        CLmnApp::Instance()->ShowMessage(MSG_SHELF_PATH_TOO_LONG);
        return;
    }
    CShelfNameDlg dialog(&frame);
    if (dialog.exec() == QDialog::Accepted) {
        CLmnApp* app = CLmnApp::Instance();
        app->Shelf().Rewrite(app->Document().key, app->Document());
    }
    frame.UpdateCommandStates();
}

void ShowShelfCommand(CMainFrame& frame, QWidget* parent) {
    frame.StopReading();
    CShelfDlg dialog(frame, parent);
    dialog.exec();
    frame.UpdateCommandStates();
}

void PlaceBookmarkCommand(CMainFrame& frame) {
    CTextCtrl* text = frame.TextCtrl();
    const std::optional<ProposedBookmark> proposal =
        DefaultBookmarkName(text->Text(), text->Selection().start);
    if (!proposal) {
        CLmnApp::Instance()->ShowMessage(MSG_TEXT_TOO_SMALL);
        return;
    }
    std::string name = proposal->name;
    const bool shiftHeld = QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
    if (!shiftHeld || name.empty()) {
        CMarkNameDlg dialog(name, &frame);
        if (dialog.exec() != QDialog::Accepted) return;
        name = dialog.Name();
    }
    PlaceBookmark(text->Text(), proposal->position, std::move(name),
                  CLmnApp::Instance()->Document());
}

void ShowBookmarksCommand(CMainFrame& frame) {
    frame.StopReading();
    CMarksDlg dialog(frame, &frame);
    dialog.exec();
    frame.UpdateCommandStates();
}
