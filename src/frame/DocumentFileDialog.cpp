#include "frame/DocumentFileDialog.h"

#include <QFile>
#include <QFileDialog>

#include "library/DocumentController.h"
#include "text/DocumentPath.h"

namespace {

// The one filter of the open dialog. The patterns in the last parentheses,
// hidden from the user, match the extensions in any case.
const QString kDocumentFilter =
    "Documents (*.txt, *.rtf, *.htm, *.html, *.plg, *.fb2, *.fb2.zip, *.epub, *.pdf, *.docx, "
    "*.odt) "
    "(*.[Tt][Xx][Tt] *.[Rr][Tt][Ff] *.[Hh][Tt][Mm] *.[Hh][Tt][Mm][Ll] *.[Pp][Ll][Gg] "
    "*.[Ff][Bb]2 *.[Ff][Bb]2.[Zz][Ii][Pp] *.[Ee][Pp][Uu][Bb] *.[Pp][Dd][Ff] "
    "*.[Dd][Oo][Cc][Xx] *.[Oo][Dd][Tt])";

}  // namespace

void ChooseAndOpenDocument(QWidget* parent, DocumentController& documents) {
    QFileDialog dialog(parent, {}, {}, kDocumentFilter);
    dialog.setOptions(QFileDialog::HideNameFilterDetails | QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Not ExistingFile: a file whose name is not UTF-8 is shown with U+FFFD,
    // a name the dialog itself cannot find. Its real bytes are found again
    // here; a file that really is missing gets the program's own message.
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString chosen = dialog.selectedFiles().constFirst();
    documents.OpenFile(ResolveDisplayedPath(QFile::encodeName(chosen).toStdString()));
}
