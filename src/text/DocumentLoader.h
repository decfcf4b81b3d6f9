#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "text/DocumentPath.h"
#include "text/RtfDocument.h"
#include "text/TextRules.h"

enum class LoadError {
    None,
    OpenFailed,  // the file cannot be opened
};

struct LoadedText {
    LoadError error = LoadError::None;
    std::string text;  // Windows-1251, at most kMaxTextLength characters
    // How parts of a rich text document look; empty for plain text and HTML.
    std::vector<RtfRun> runs;
};

// A plain-text file's bytes as text: Windows-1251 byte for byte, unless the
// file is UTF-8 (see IsUtf8Document), which is transcoded. Line breaks stay as
// they are.
std::string ReadPlainTextDocument(std::string bytes);

// An HTML file's bytes as text: the same code-page rule, then the conversion
// to plain text.
std::string ReadHtmlDocument(std::string bytes);

// Reads the whole file at path (the platform's bytes) as a document of the
// given kind. A read error part way ends the file where it happened.
LoadedText LoadDocumentFile(const std::string& path, DocumentKind kind);
