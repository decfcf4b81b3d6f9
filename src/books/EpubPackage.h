#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The XML documents that say what an EPUB holds and in what order: the
// container (META-INF/container.xml) names the package document, the package
// document lists the parts (manifest), their reading order (spine) and the
// book's metadata, and META-INF/encryption.xml lists encrypted parts. Each is
// parsed here from its bytes alone, without the archive. No DOCTYPE is
// processed, so no entity is ever expanded.

struct EpubPackage {
    // Archive paths of the documents to read, in reading order: the spine's
    // XHTML items, without those marked linear="no", the navigation document
    // and the NCX. An item of the spine the manifest lacks is left out.
    std::vector<std::string> documents;
    // The spine names pictures to be read as pages (a comic, a book of scans).
    bool picturesInSpine = false;
    // Archive paths of the tables of contents: EPUB 3's navigation document
    // and EPUB 2's NCX (the one the spine names, or the first listed); empty
    // when there is none.
    std::string navigation;
    std::string ncx;
    std::vector<std::string> creators;  // UTF-8, blanks collapsed; authors only when roles say
    std::string title;                  // UTF-8, blanks collapsed; the first dc:title
};

// The path of the package document, or nothing when the container names none.
std::optional<std::string> ParseEpubContainer(std::string_view xml);

// Nothing when the bytes are not a package document (no <package> with a
// <spine>). packagePath is the document's own path in the archive: the
// manifest's paths are relative to it.
std::optional<EpubPackage> ParseEpubPackage(std::string_view xml, std::string_view packagePath);

// Archive paths of every part encryption.xml lists, whatever the algorithm:
// a font obfuscated there is harmless, a text document is not. Empty when the
// bytes do not parse.
std::vector<std::string> ParseEpubEncryption(std::string_view xml);

// One entry of a book's table of contents.
struct EpubTocEntry {
    int level = 1;       // 1 at the top; an entry without a target passes its place on
    std::string title;   // UTF-8, blanks collapsed
    std::string path;    // the archive path it points to
    std::string anchor;  // the fragment there, percent-decoded; empty for the file's start
};

// The entries of the table of contents of EPUB 3's navigation document (its
// <nav epub:type="toc">, or its first <nav>) or of EPUB 2's NCX (its
// navPoints), in the book's order; those that point out of the archive are
// left out. path is the document's own path: the links are relative to it.
std::vector<EpubTocEntry> ParseEpubNavigation(std::string_view xml, std::string_view path);
std::vector<EpubTocEntry> ParseEpubNcx(std::string_view xml, std::string_view path);

// The archive path a reference made from a document at basePath points to:
// the fragment dropped, percent escapes decoded, "." and ".." resolved.
// Empty when it leaves the archive (a URL, or ".." above the root).
std::string ResolveEpubPath(std::string_view basePath, std::string_view href);
