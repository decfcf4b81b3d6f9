#pragma once

#include <optional>
#include <string>
#include <string_view>

// How a document is read, decided by its file name alone.
enum class DocumentKind {
    PlainText = 1,  // TXT
    RichText = 2,   // RTF
    Html = 3,       // HTM, HTML, PLG: converted to plain text first
    // Books, read whole by the readers in books/.
    Fb2 = 4,
    Fb2Zip = 5,  // FB2.ZIP: an FB2 inside a ZIP archive
    Epub = 6,
    Pdf = 7,
    Docx = 8,
    Odt = 9,
};

// Whether the kind is read by a book reader rather than as text.
bool IsBookKind(DocumentKind kind);

// The kind named by the characters after the last "." of the whole path, in
// any letter case ("FB2.ZIP" by the last two); nothing when there is no "." or
// the extension is none of the program's (a plain ".zip" is not one). The
// last "." may lie in a folder name: "my.docs/README" is refused.
std::optional<DocumentKind> DocumentKindFromPath(std::string_view path);

// The file name: the part of the path after the last "/" and after the last
// "\" (shelf files written on Windows use it), in the path's own bytes.
std::string_view PathFileName(std::string_view path);

// The name a document loaded from path shows in the title. Paths are UTF-8
// here; a name that is not is read as Windows-1251, as the program always has.
std::u32string DocumentNameFromPath(std::string_view path);

// The file a path shown by the desktop or by the program stands for. File
// names are bytes and need not be UTF-8, but the desktop's widgets show them
// as text, with U+FFFD in place of bytes that are not UTF-8, and hand back
// that text; the program's title shows such a name as Windows-1251. Each
// folder or file name of the path that does not exist as it is, is looked up
// among its folder's entries, by either way of showing it (each U+FFFD
// standing for one to three bytes); when exactly one entry matches, its real
// bytes take its place. Otherwise the path is given back as it is (and fails
// to open).
std::string ResolveDisplayedPath(std::string_view shownPath);

// The path as the shelf keeps it: absolute, so that it names the same file
// whatever folder the program is started from, and without "." and ".."
// parts. The folders are resolved as the system resolves them (".." after a
// link to a folder leads out of the folder linked to); the file's own name
// stays as given, so a document opened through a link keeps its name. A
// folder that does not exist is only made absolute and lexically normal.
std::string AbsoluteDocumentPath(std::string_view path);
