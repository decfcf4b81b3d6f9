#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "books/BookText.h"
#include "books/BookTextBuilder.h"
#include "books/XmlParsing.h"
#include "books/ZipArchive.h"

// What the office readers (DOCX, ODT) share about their ZIP packages.

// Reads one part of the package. A required part that is missing or damaged
// makes the book Damaged; an optional one is then just empty. A password or
// the unpacking cap always ends the load.
LoadError ReadPackagePart(ZipArchive& archive, std::string_view name, bool required,
                          std::string& out);

// The creator field of document properties: several names separated by ";"
// become "First Last, First Last".
std::u32string AuthorList(std::string_view utf8);

// Walks the body of an office document: its top-level elements one by one
// through walkElement until the text is full, then the notes through
// walkNotes. Progress counts the elements, and the notes as one more. False
// when progress stopped the load.
bool WalkOfficeBody(const pugi::xml_node& body, const BookTextBuilder& out,
                    const BookProgress& progress,
                    const std::function<void(const pugi::xml_node&)>& walkElement,
                    const std::function<void()>& walkNotes);
