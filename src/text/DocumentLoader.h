#pragma once

#include <cstddef>
#include <string>

#include "text/DocumentPath.h"
#include "text/TextRules.h"

enum class LoadError {
    None,
    TypeRejected,  // not a kind this reader reads (RTF has a reader of its own)
    OpenFailed,    // the file cannot be opened
};

struct LoadedText {
    LoadError error = LoadError::None;
    std::string text;  // Windows-1251, at most kMaxTextLength characters
};

// A plain-text file's bytes as text: Windows-1251 byte for byte, unless the
// file is UTF-8 (see IsUtf8Document), which is transcoded. Line breaks stay as
// they are.
std::string ReadPlainTextDocument(std::string bytes);

// An HTML file's bytes as text: the same code-page rule, then the conversion
// to plain text.
std::string ReadHtmlDocument(std::string bytes);

// Reads the whole file at path (the platform's bytes) as a document of kind
// PlainText or Html. A read error part way ends the file where it happened.
// RichText is not read here and gives TypeRejected.
LoadedText LoadPlainOrHtml(const std::string& path, DocumentKind kind);
