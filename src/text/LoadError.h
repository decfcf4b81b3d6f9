#pragma once

#include "base/ProgramTexts.h"

// Why a document did not load: a text file, an HTML or RTF document, or a
// book through its reader.
enum class LoadError {
    None,
    OpenFailed,  // the file cannot be opened, or is not a regular file
    TooLarge,    // a document that is read whole is larger than kMaxWholeDocumentBytes
    // What a book reader finds:
    BookTooLarge,  // larger than kMaxBookFileBytes, or unpacks to more than the reader's cap
    Damaged,       // not a readable file of its format
    Encrypted,     // DRM or a password
    NoText,        // no text to read, e.g. a scanned PDF
    Cancelled,     // the user stopped the load: nothing to tell
};

// The program's message for a failed load.
MessageCode LoadErrorMessage(LoadError error);
