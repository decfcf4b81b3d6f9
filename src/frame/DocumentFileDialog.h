#pragma once

#include <string>

class QWidget;

// The file-open dialog for a document: the chosen path in the platform's
// own bytes, empty when the user cancels.
std::string AskForDocumentFile(QWidget* parent);
