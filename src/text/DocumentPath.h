#pragma once

#include <optional>
#include <string>
#include <string_view>

// How a document is read, decided by its file name alone.
enum class DocumentKind {
    PlainText = 1,  // TXT
    RichText = 2,   // RTF
    Html = 3,       // HTM, HTML, PLG: converted to plain text first
};

// The kind named by the characters after the last "." of the whole path,
// upper-cased; nothing when there is no "." or the extension is none of the
// five. The last "." may lie in a folder name: "my.docs/README" is refused.
std::optional<DocumentKind> DocumentKindFromPath(std::string_view path);

// The file name: the part of the path after the last "/" and after the last
// "\" (shelf files written on Windows use it), in the path's own bytes.
std::string_view PathFileName(std::string_view path);

// The name a document loaded from path shows in the title, in Windows-1251.
// Paths are UTF-8 here; a name that is not UTF-8 is taken as Windows-1251 byte
// for byte, as document files are.
std::string DocumentNameFromPath(std::string_view path);
