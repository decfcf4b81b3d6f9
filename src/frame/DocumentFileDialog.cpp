#include "frame/DocumentFileDialog.h"

#include <filesystem>
#include <system_error>

#include "frame/COpenDlg.h"
#include "library/DocumentController.h"
#include "text/FolderListing.h"

void ChooseAndOpenDocument(QWidget* parent, DocumentController& documents) {
    // The dialog opens where the last file was chosen, first in the folder
    // the program was started from.
    static std::string lastFolder;
    if (lastFolder.empty()) {
        std::error_code error;
        lastFolder = std::filesystem::current_path(error).string();
    }
    COpenDlg dialog(lastFolder, parent);
    if (dialog.exec() != QDialog::Accepted) return;
    lastFolder = ParentFolder(dialog.ChosenPath());
    documents.OpenFile(dialog.ChosenPath());
}
