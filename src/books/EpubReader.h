#pragma once

#include <string_view>

#include "books/BookText.h"

// An EPUB 2 or 3 book: the documents of its spine, in order, each through the
// HTML converter in its XHTML mode, one paragraph break between them. Headings
// are bold. The author is every dc:creator who is an author, joined by ", ";
// the title the first dc:title.
//
// Damaged: not a ZIP, no container or package document, or not one document
// of the spine could be read. A document the spine names but the archive
// lacks is skipped. Encrypted: an encrypted ZIP entry, or a document of the
// spine listed in META-INF/encryption.xml (obfuscated fonts alone are fine).
// NoText: documents read, but no text in them. BookTooLarge: the parts read
// unpack to more than the limit's cap.
LoadedText ReadEpub(std::string_view bytes, const BookLimits& limits, const BookProgress& progress);
