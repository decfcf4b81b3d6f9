#include "books/OdtReader.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/CodePage.h"
#include "books/BookTextBuilder.h"
#include "books/OfficePackage.h"
#include "books/OfficeStyles.h"
#include "books/XmlParsing.h"
#include "books/ZipArchive.h"

namespace {

constexpr int kMaxDepth = 200;
// text:s may ask for any number of spaces; a page's width is plenty.
constexpr long kMaxSpaces = 200;

bool IsElement(const pugi::xml_node& node, std::string_view name) {
    return node.type() == pugi::node_element && LocalName(node) == name;
}

// Styles are named within their family ("text", "paragraph").
std::string StyleKey(std::string_view family, std::string_view name) {
    return std::string(family) + ':' + std::string(name);
}

// The styles of office:styles or office:automatic-styles, by family and name.
void AddStyles(const pugi::xml_node& container, OfficeStyles& styles) {
    for (pugi::xml_node style : container.children()) {
        if (!IsElement(style, "style")) continue;
        const std::string_view family = AttributeByLocalName(style, "family").value();
        const std::string_view parent = AttributeByLocalName(style, "parent-style-name").value();
        const std::string_view name = AttributeByLocalName(style, "name").value();
        OfficeStyles::Style entry;
        if (!parent.empty()) entry.parent = StyleKey(family, parent);
        entry.heading =
            name == "Title" || !AttributeByLocalName(style, "default-outline-level").empty();
        const pugi::xml_node text = ChildByLocalName(style, "text-properties");
        if (const pugi::xml_attribute weight = AttributeByLocalName(text, "font-weight")) {
            const std::string_view value = weight.value();
            entry.bold = value == "bold" || value == "600" || value == "700" || value == "800" ||
                         value == "900";
        }
        if (const pugi::xml_attribute slant = AttributeByLocalName(text, "font-style")) {
            const std::string_view value = slant.value();
            entry.italic = value == "italic" || value == "oblique";
        }
        styles.Add(StyleKey(family, name), std::move(entry));
    }
}

struct Note {
    std::string citation;
    pugi::xml_node body;
};

class OdtWalker {
public:
    OdtWalker(BookTextBuilder& out, const OfficeStyles& styles) : out_(out), styles_(styles) {}

    void Node(const pugi::xml_node& node, int depth) {
        if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
            if (inParagraph_ > 0) out_.AppendCollapsed(node.value());
            if (out_.Length() > markEnd_) afterMark_ = false;
            return;
        }
        if (node.type() != pugi::node_element || depth > kMaxDepth) return;
        const std::string_view name = LocalName(node);
        // The space between a note's mark and its text is there already.
        if (afterMark_ && name == "s") return;
        if (name == "p" || name == "h") {
            Paragraph(node, depth, name == "h");
        } else if (name == "span") {
            Span(node, depth);
        } else if (name == "s") {
            long count = 1;
            if (const pugi::xml_attribute c = AttributeByLocalName(node, "c")) {
                count = std::clamp(c.as_llong(1), 1LL, static_cast<long long>(kMaxSpaces));
            }
            for (long i = 0; i < count; ++i) out_.AppendLiteral(' ');
        } else if (name == "tab") {
            out_.AppendLiteral(out_.InCell() ? U' ' : U'\t');
        } else if (name == "line-break") {
            out_.BlockBreak();
        } else if (name == "note") {
            Citation(node);
        } else if (name == "table") {
            Table(node, depth);
        } else if (name == "frame" || name == "annotation" || name == "annotation-end" ||
                   name == "tracked-changes" || name == "sequence-decls" || name == "forms" ||
                   name == "note-citation" || name == "variable-decls" ||
                   name == "user-field-decls" || name == "bookmark-start" || name == "deletion") {
            return;
        } else {
            Children(node, depth);
        }
    }

    void Children(const pugi::xml_node& node, int depth) {
        for (pugi::xml_node child : node.children()) {
            if (out_.Full()) return;
            Node(child, depth + 1);
        }
    }

    const std::vector<Note>& Notes() const { return notes_; }

    void SetNotePrefix(std::string prefix) {
        notePrefix_ = std::move(prefix);
        afterMark_ = false;
    }

private:
    void Paragraph(const pugi::xml_node& paragraph, int depth, bool heading) {
        out_.BlockBreak();
        const std::string_view style = AttributeByLocalName(paragraph, "style-name").value();
        heading = heading || style == "Title" || styles_.Heading(StyleKey("paragraph", style));
        const bool bold = heading || styles_.Bold(StyleKey("paragraph", style)).value_or(false);
        const bool italic = styles_.Italic(StyleKey("paragraph", style)).value_or(false);
        if (!notePrefix_.empty()) {
            out_.AppendPreserved(notePrefix_);
            out_.AppendCollapsed(" ");
            notePrefix_.clear();
            afterMark_ = true;
            markEnd_ = out_.Length();
        }
        if (bold) out_.BeginBold();
        if (italic) out_.BeginItalic();
        ++inParagraph_;
        Children(paragraph, depth);
        --inParagraph_;
        if (italic) out_.EndItalic();
        if (bold) out_.EndBold();
        out_.BlockBreak();
    }

    void Span(const pugi::xml_node& span, int depth) {
        const std::string_view style = AttributeByLocalName(span, "style-name").value();
        const std::optional<bool> bold = styles_.Bold(StyleKey("text", style));
        const std::optional<bool> italic = styles_.Italic(StyleKey("text", style));
        // A span can only add what its style turns on; the pane has no way to
        // show "not bold" inside a bold heading anyway.
        if (bold.value_or(false)) out_.BeginBold();
        if (italic.value_or(false)) out_.BeginItalic();
        Children(span, depth);
        if (italic.value_or(false)) out_.EndItalic();
        if (bold.value_or(false)) out_.EndBold();
    }

    void Citation(const pugi::xml_node& note) {
        std::string citation =
            ToUtf8(CollapsedText(ChildByLocalName(note, "note-citation").text().get()));
        if (citation.empty()) citation = std::to_string(notes_.size() + 1);
        const std::string mark = "[" + citation + "]";
        out_.AppendPreserved(mark);
        notes_.push_back({mark, ChildByLocalName(note, "note-body")});
    }

    void Table(const pugi::xml_node& node, int depth) {
        if (depth > kMaxDepth) return;
        for (pugi::xml_node child : node.children()) {
            if (out_.Full()) return;
            if (child.type() != pugi::node_element) continue;
            const std::string_view name = LocalName(child);
            if (name == "table-row") {
                Row(child, depth + 1);
            } else if (name == "table-header-rows" || name == "table-rows" ||
                       name == "table-row-group") {
                Table(child, depth + 1);
            }
        }
    }

    void Row(const pugi::xml_node& row, int depth) {
        out_.BlockBreak();
        bool first = true;
        for (pugi::xml_node cell : row.children()) {
            if (!IsElement(cell, "table-cell") && !IsElement(cell, "covered-table-cell")) continue;
            out_.BeginCell(first);
            first = false;
            Children(cell, depth + 1);
            out_.EndCell();
        }
        out_.BlockBreak();
    }

    BookTextBuilder& out_;
    const OfficeStyles& styles_;
    std::vector<Note> notes_;
    std::string notePrefix_;
    int inParagraph_ = 0;
    bool afterMark_ = false;
    std::size_t markEnd_ = 0;
};

bool HasEncryptionData(std::string& manifest) {
    pugi::xml_document document;
    if (!ParseXml(manifest, document)) return false;
    for (pugi::xml_node entry : document.document_element().children()) {
        if (ChildByLocalName(entry, "encryption-data")) return true;
    }
    return false;
}

// The parts of the package the reader uses, as their XML.
struct OdtParts {
    std::string content;
    std::string styles;
    std::string meta;  // author and title
};

// A package whose manifest has encryption data is Encrypted; only the
// content must be there.
LoadError ReadOdtParts(ZipArchive& archive, OdtParts& parts) {
    std::string manifest;
    if (const LoadError error = ReadPackagePart(archive, "META-INF/manifest.xml", false, manifest);
        error != LoadError::None) {
        return error;
    }
    if (HasEncryptionData(manifest)) return LoadError::Encrypted;
    for (const LoadError error : {ReadPackagePart(archive, "content.xml", true, parts.content),
                                  ReadPackagePart(archive, "styles.xml", false, parts.styles),
                                  ReadPackagePart(archive, "meta.xml", false, parts.meta)}) {
        if (error != LoadError::None) return error;
    }
    return LoadError::None;
}

// The named styles and automatic ones of styles.xml, then the content's own
// automatic styles.
void LoadStyles(std::string& stylesXml, const pugi::xml_node& contentRoot, OfficeStyles& styles) {
    pugi::xml_document document;
    if (ParseXml(stylesXml, document)) {
        const pugi::xml_node root = document.document_element();
        AddStyles(ChildByLocalName(root, "styles"), styles);
        AddStyles(ChildByLocalName(root, "automatic-styles"), styles);
    }
    AddStyles(ChildByLocalName(contentRoot, "automatic-styles"), styles);
}

// Author (the initial creator, else the creator) and title from meta.xml.
void ReadMeta(std::string& metaXml, LoadedText& book) {
    pugi::xml_document meta;
    if (!ParseXml(metaXml, meta)) return;
    const pugi::xml_node fields = ChildByLocalName(meta.document_element(), "meta");
    book.author = AuthorList(ChildByLocalName(fields, "initial-creator").text().get());
    if (book.author.empty()) {
        book.author = AuthorList(ChildByLocalName(fields, "creator").text().get());
    }
    book.title = CollapsedText(ChildByLocalName(fields, "title").text().get());
}

// The bodies of the notes cited, in the order they were cited, each starting
// with its citation.
void AppendNotes(OdtWalker& walker, BookTextBuilder& out) {
    // A copy: a note may cite notes of its own.
    const std::vector<Note> notes = walker.Notes();
    for (const Note& note : notes) {
        if (out.Full()) break;
        out.EndParagraph();
        walker.SetNotePrefix(note.citation);
        walker.Children(note.body, 1);
        walker.SetNotePrefix({});
    }
}

}  // namespace

LoadedText ReadOdt(std::string_view bytes, const BookLimits& limits, const BookProgress& progress) {
    std::optional<ZipArchive> archive = ZipArchive::Open(bytes, limits.maxUnpackedBytes, progress);
    if (!archive) return BookFailure(LoadError::Damaged);
    OdtParts parts;
    if (const LoadError error = ReadOdtParts(*archive, parts); error != LoadError::None) {
        return BookFailure(error);
    }

    pugi::xml_document content;
    if (!ParseXml(parts.content, content)) return BookFailure(LoadError::Damaged);
    const pugi::xml_node root = content.document_element();
    const pugi::xml_node text = ChildByLocalName(ChildByLocalName(root, "body"), "text");
    if (!text) return BookFailure(LoadError::Damaged);

    OfficeStyles styles;
    LoadStyles(parts.styles, root, styles);
    LoadedText book;
    ReadMeta(parts.meta, book);
    BookTextBuilder out(limits.maxTextLength);
    OdtWalker walker(out, styles);
    const auto element = [&](const pugi::xml_node& child) { walker.Node(child, 1); };
    const auto notes = [&] { AppendNotes(walker, out); };
    if (!WalkOfficeBody(text, out, progress, element, notes)) {
        return BookFailure(LoadError::Cancelled);
    }
    out.Finish(book);
    return book;
}
