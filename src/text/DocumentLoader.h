#pragma once

#include <cstddef>
#include <string>

#include "text/DocumentPath.h"
#include "text/LoadError.h"
#include "text/LoadedText.h"
#include "text/TextRules.h"

// RTF and HTML documents are read whole before their text is known, so their
// size has a cap of its own; a plain-text file is read only as far as the
// text limit can use.
inline constexpr std::size_t kMaxWholeDocumentBytes = 64 * 1024 * 1024;
// A book (FB2, EPUB, DOCX, ODT: an archive or XML) is read whole too; PDF is
// read by poppler from the file as it needs it.
inline constexpr std::size_t kMaxBookFileBytes = 128 * 1024 * 1024;

// The whole of the regular file at path into bytes: OpenFailed as for any
// document, TooLarge when it holds more than limit bytes.
LoadError ReadWholeFile(const std::string& path, std::size_t limit, std::string& bytes);

// Cuts text longer than limit where CutLength says, and tells whether it did.
// A text that is only the start of its source (more) and fills the limit is
// cut too, its last character standing for the unknown one after it.
bool CutToLimit(std::u32string& text, std::size_t limit, bool more = false);
bool CutToLimit(CompactText& text, std::size_t limit, bool more = false);

// An HTML file's bytes as text: decoded as its charset says, then converted
// to plain text, cut as a plain-text file is; with an outline, also the
// outline its headings make in the text kept.
CompactText ReadHtmlDocument(std::string_view bytes, std::size_t maxTextLength = kMaxTextLength,
                             std::vector<Heading>* outline = nullptr);

// Reads the file at path (the platform's bytes) as a document of the given
// kind. Only a regular file is read (a symbolic link to one is followed);
// anything else, a pipe or a device among them, fails at once without being
// waited on. A plain-text file is read up to the most bytes maxTextLength
// characters can take; an RTF or HTML file over kMaxWholeDocumentBytes is
// refused. A text longer than maxTextLength is cut by CutToLimit and marked
// truncated. A read error part way ends the file where it happened. Books are
// read by books/BookLoader; given one, this fails with OpenFailed.
LoadedText LoadDocumentFile(const std::string& path, DocumentKind kind,
                            std::size_t maxTextLength = kMaxTextLength);
