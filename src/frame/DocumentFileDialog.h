#pragma once

class DocumentController;
class QWidget;

// The file-open dialog for a document; the chosen file is opened as the
// current document. Cancelling leaves everything as it was.
void ChooseAndOpenDocument(QWidget* parent, DocumentController& documents);
