#include "frame/DocumentFileDialog.h"

#include <QFile>
#include <QFileDialog>

#include "library/CDocumentController.h"

namespace {

// The one filter of the open dialog. The patterns in the last parentheses,
// hidden from the user, match the extensions in any case.
const QString kDocumentFilter =
    "Documents (*.txt, *.rtf, *.htm, *.html, *.plg) "
    "(*.[Tt][Xx][Tt] *.[Rr][Tt][Ff] *.[Hh][Tt][Mm] *.[Hh][Tt][Mm][Ll] *.[Pp][Ll][Gg])";

}  // namespace

void ChooseAndOpenDocument(QWidget* parent, CDocumentController& documents) {
    const QString chosen = QFileDialog::getOpenFileName(
        parent, {}, {}, kDocumentFilter, nullptr,
        QFileDialog::HideNameFilterDetails | QFileDialog::DontUseNativeDialog);
    if (!chosen.isEmpty()) documents.OpenFile(QFile::encodeName(chosen).toStdString());
}
