#pragma once

#include <string>

#include "books/BookText.h"
#include "text/DocumentLoader.h"
#include "text/DocumentPath.h"

// Reads the book file at path (the platform's bytes) with the reader of its
// kind. A PDF is read by poppler from the file; any other book is read whole
// first, refused as BookTooLarge over kMaxBookFileBytes. Progress is told per
// part of the book, from the calling thread, and stops the load when it says
// so (Cancelled).
LoadedText LoadBookFile(const std::string& path, DocumentKind kind, const BookProgress& progress,
                        const BookLimits& limits = {});

// Any document: a book through its reader, anything else as text.
LoadedText LoadAnyDocument(const std::string& path, DocumentKind kind,
                           const BookProgress& progress);
