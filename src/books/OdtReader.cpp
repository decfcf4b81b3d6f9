#include "books/OdtReader.h"

#include <algorithm>
#include <array>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/CodePage.h"
#include "books/BookTextBuilder.h"
#include "books/ListNumbering.h"
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
        const pugi::xml_attribute outline = AttributeByLocalName(style, "default-outline-level");
        entry.heading = name == "Title" || !outline.empty();
        // An empty level takes away the level of the style it is based on.
        if (outline) entry.outlineLevel = std::max(outline.as_int(0), 0);
        if (name == "Title" && !outline) entry.outlineLevel = 1;
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

// One level of a list style: a number with its prefix and suffix, a bullet,
// or nothing.
struct ListLevelStyle {
    bool numbered = false;
    NumberStyle style = NumberStyle::Decimal;
    bool repeatLetters = false;  // aa, bb after z rather than aa, ab
    std::string prefix, suffix, bullet;
    long long start = 1;
    int shownLevels = 1;  // "1.2.3" shows three
};
using ListStyle = std::array<std::optional<ListLevelStyle>, ListCounters::kLevels>;
using ListStyles = std::map<std::string, ListStyle, std::less<>>;

NumberStyle NumberStyleOf(std::string_view format) {
    if (format.empty()) return NumberStyle::None;
    if (format == "a") return NumberStyle::LowerLetter;
    if (format == "A") return NumberStyle::UpperLetter;
    if (format == "i") return NumberStyle::LowerRoman;
    if (format == "I") return NumberStyle::UpperRoman;
    return NumberStyle::Decimal;
}

// The text:list-style elements of office:styles or office:automatic-styles.
void AddListStyles(const pugi::xml_node& container, ListStyles& lists) {
    for (pugi::xml_node list : container.children()) {
        if (!IsElement(list, "list-style")) continue;
        ListStyle& levels = lists[AttributeByLocalName(list, "name").value()];
        for (pugi::xml_node level : list.children()) {
            const long long number = AttributeByLocalName(level, "level").as_llong(0);
            if (level.type() != pugi::node_element || number < 1 || number > ListCounters::kLevels)
                continue;
            ListLevelStyle entry;
            const std::string_view kind = LocalName(level);
            if (kind == "list-level-style-number") {
                entry.numbered = true;
                entry.style = NumberStyleOf(AttributeByLocalName(level, "num-format").value());
                entry.repeatLetters = AttributeByLocalName(level, "num-letter-sync").as_bool();
                entry.prefix = AttributeByLocalName(level, "num-prefix").value();
                entry.suffix = AttributeByLocalName(level, "num-suffix").value();
                entry.start = ClampedStart(AttributeByLocalName(level, "start-value").as_llong(1));
                entry.shownLevels =
                    std::clamp(AttributeByLocalName(level, "display-levels").as_int(1), 1,
                               ListCounters::kLevels);
            } else if (kind == "list-level-style-bullet") {
                // LibreOffice shows a bullet without the prefix and suffix it may write.
                entry.bullet = ListBullet(AttributeByLocalName(level, "bullet-char").value());
            } else if (kind == "list-level-style-image") {
                entry.bullet = ListBullet(" ");
            } else {
                continue;
            }
            levels[static_cast<std::size_t>(number - 1)] = std::move(entry);
        }
    }
}

struct Note {
    std::string citation;
    pugi::xml_node body;
};

class OdtWalker {
public:
    OdtWalker(BookTextBuilder& out, const OfficeStyles& styles, const ListStyles& lists)
        : out_(out), styles_(styles), listStyles_(lists) {}

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
        } else if (name == "list") {
            List(node, depth);
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
        const int level = OutlineLevel(paragraph, style, heading);
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
        if (!listLabel_.empty()) {
            out_.AppendPreserved(listLabel_);
            out_.AppendCollapsed(" ");
            listLabel_.clear();
        }
        if (level > 0) out_.BeginHeading(level);
        ++inParagraph_;
        Children(paragraph, depth);
        --inParagraph_;
        if (level > 0) out_.EndHeading();
        if (italic) out_.EndItalic();
        if (bold) out_.EndBold();
        out_.BlockBreak();
    }

    // A text:h is on its own level, else its style's, else 1; a paragraph is
    // on its style's, if any. The Title style stands at level 1.
    int OutlineLevel(const pugi::xml_node& paragraph, std::string_view style, bool heading) const {
        const int styleLevel =
            style == "Title" ? 1 : styles_.OutlineLevel(StyleKey("paragraph", style));
        if (!heading) return styleLevel;
        const int own = AttributeByLocalName(paragraph, "outline-level").as_int(0);
        return own > 0 ? own : std::max(styleLevel, 1);
    }

    // A list nested in an item of another is a level deeper and counts with
    // it; it keeps the outer list's style unless it names its own. An
    // outermost list counts anew unless it goes on from an earlier one.
    void List(const pugi::xml_node& list, int depth) {
        const std::string_view styleName = AttributeByLocalName(list, "style-name").value();
        const auto named = listStyles_.find(styleName);
        ListFrame frame{named != listStyles_.end() ? &named->second : nullptr, nullptr, 0};
        if (!lists_.empty()) {
            if (!frame.style) frame.style = lists_.back().style;
            frame.counters = lists_.back().counters;
            frame.level = lists_.back().level + 1;
        } else {
            const std::string continued = AttributeByLocalName(list, "continue-list").value();
            if (!continued.empty() && listsById_.count(continued) != 0) {
                frame.counters = listsById_[continued];
            } else if (AttributeByLocalName(list, "continue-numbering").as_bool() &&
                       lastByStyle_.count(std::string(styleName)) != 0) {
                frame.counters = lastByStyle_[std::string(styleName)];
            } else {
                frame.counters = &counters_.emplace_back();
            }
            lastByStyle_[std::string(styleName)] = frame.counters;
            if (const pugi::xml_attribute id = AttributeByLocalName(list, "id"))
                listsById_[id.value()] = frame.counters;
        }
        lists_.push_back(frame);
        for (pugi::xml_node child : list.children()) {
            if (out_.Full()) break;
            if (IsElement(child, "list-item") || IsElement(child, "list-header")) {
                Item(child, depth + 1, IsElement(child, "list-item"));
            } else {
                Node(child, depth + 1);
            }
        }
        lists_.pop_back();
    }

    // An item is numbered on its first paragraph; one that starts with a
    // nested list, or a header, is not.
    void Item(const pugi::xml_node& item, int depth, bool numbered) {
        pugi::xml_node first = item.first_child();
        while (first &&
               (first.type() != pugi::node_element || LocalName(first) == "soft-page-break"))
            first = first.next_sibling();
        if (numbered && (IsElement(first, "p") || IsElement(first, "h"))) {
            listLabel_ = CountItem(item);
        }
        Children(item, depth);
        listLabel_.clear();
    }

    std::string CountItem(const pugi::xml_node& item) {
        const ListFrame& frame = lists_.back();
        const auto levelStyle = [&](int level) -> std::optional<ListLevelStyle> {
            if (!frame.style || level >= ListCounters::kLevels) return std::nullopt;
            return (*frame.style)[static_cast<std::size_t>(level)];
        };
        const std::optional<ListLevelStyle> current = levelStyle(frame.level);
        std::optional<long long> value;
        if (const pugi::xml_attribute start = AttributeByLocalName(item, "start-value"))
            value = start.as_llong(1);
        frame.counters->Count(frame.level, current ? current->start : 1, value);
        for (int deeper = frame.level + 1; deeper < ListCounters::kLevels; ++deeper)
            frame.counters->Restart(deeper);
        if (!current) return {};
        if (!current->numbered) return current->bullet;
        std::string numbers;
        for (int level = std::max(0, frame.level - current->shownLevels + 1); level <= frame.level;
             ++level) {
            const std::optional<ListLevelStyle> shown = levelStyle(level);
            const ListLevelStyle each = shown.value_or(ListLevelStyle{});
            const std::string number = FormatListNumber(frame.counters->Current(level, each.start),
                                                        each.style, each.repeatLetters);
            if (!numbers.empty() && !number.empty()) numbers += '.';
            numbers += number;
        }
        return current->prefix + numbers + current->suffix;
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
    const ListStyles& listStyles_;
    struct ListFrame {
        const ListStyle* style;
        ListCounters* counters;
        int level;
    };
    std::vector<ListFrame> lists_;  // the lists the walk is in, the innermost last
    std::deque<ListCounters> counters_;
    std::map<std::string, ListCounters*> lastByStyle_, listsById_;
    std::string listLabel_;  // the number of the list item whose first paragraph comes next
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
// automatic styles; list styles apart.
void LoadStyles(std::string& stylesXml, const pugi::xml_node& contentRoot, OfficeStyles& styles,
                ListStyles& lists) {
    pugi::xml_document document;
    if (ParseXml(stylesXml, document)) {
        const pugi::xml_node root = document.document_element();
        for (const char* container : {"styles", "automatic-styles"}) {
            AddStyles(ChildByLocalName(root, container), styles);
            AddListStyles(ChildByLocalName(root, container), lists);
        }
    }
    AddStyles(ChildByLocalName(contentRoot, "automatic-styles"), styles);
    AddListStyles(ChildByLocalName(contentRoot, "automatic-styles"), lists);
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
    if (!archive) return LoadFailure(LoadError::Damaged);
    OdtParts parts;
    if (const LoadError error = ReadOdtParts(*archive, parts); error != LoadError::None) {
        return LoadFailure(error);
    }

    pugi::xml_document content;
    if (!ParseXml(parts.content, content)) return LoadFailure(LoadError::Damaged);
    const pugi::xml_node root = content.document_element();
    const pugi::xml_node text = ChildByLocalName(ChildByLocalName(root, "body"), "text");
    if (!text) return LoadFailure(LoadError::Damaged);

    OfficeStyles styles;
    ListStyles lists;
    LoadStyles(parts.styles, root, styles, lists);
    LoadedText book;
    ReadMeta(parts.meta, book);
    BookTextBuilder out(limits.maxTextLength);
    OdtWalker walker(out, styles, lists);
    const auto element = [&](const pugi::xml_node& child) { walker.Node(child, 1); };
    const auto notes = [&] { AppendNotes(walker, out); };
    if (!WalkOfficeBody(text, out, progress, element, notes)) {
        return LoadFailure(LoadError::Cancelled);
    }
    out.Finish(book);
    return book;
}
