#include "books/DocxReader.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "books/BookTextBuilder.h"
#include "books/DocxNumbering.h"
#include "books/OfficePackage.h"
#include "books/OfficeStyles.h"
#include "books/XmlParsing.h"
#include "books/ZipArchive.h"

namespace {

constexpr int kMaxDepth = 200;
// basedOn chains longer than this are loops or nonsense.
constexpr std::string_view kOleSignature{"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8};

bool IsElement(const pugi::xml_node& node, std::string_view name) {
    return node.type() == pugi::node_element && LocalName(node) == name;
}

std::string_view Val(const pugi::xml_node& node) {
    return AttributeByLocalName(node, "val").value();
}

// <w:b/> is on; w:val="0", "false", "off" or "none" turn it off.
std::optional<bool> OnOff(const pugi::xml_node& properties, std::string_view name) {
    const pugi::xml_node node = ChildByLocalName(properties, name);
    if (!node) return std::nullopt;
    const std::string_view value = Val(node);
    return !(value == "0" || value == "false" || value == "off" || value == "none");
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// w:outlineLvl counts from 0; 9 is body text, outside the outline.
std::optional<int> WordOutlineLevel(const pugi::xml_node& outlineLvl) {
    if (!outlineLvl) return std::nullopt;
    const int value = AttributeByLocalName(outlineLvl, "val").as_int(9);
    return value >= 0 && value < 9 ? value + 1 : 0;
}

// A style's outline level: its own w:outlineLvl, else the level a built-in
// heading's name or id says ("heading 2", "Heading2"). The document's title
// stands at the top with the chapters: a title page opens the outline.
std::optional<int> StyleOutlineLevel(const pugi::xml_node& style, std::string_view id,
                                     std::string_view name) {
    if (const auto level =
            WordOutlineLevel(ChildByLocalName(ChildByLocalName(style, "pPr"), "outlineLvl")))
        return level;
    const auto digit = [](std::string_view text, std::string_view prefix) {
        return text.size() == prefix.size() + 1 && text.starts_with(prefix) && text.back() >= '1' &&
                       text.back() <= '9'
                   ? std::optional<int>(text.back() - '0')
                   : std::nullopt;
    };
    if (const auto level = digit(name, "heading ")) return level;
    if (const auto level = digit(id, "heading")) return level;
    if (id == "title" || name == "title") return 1;
    return std::nullopt;
}

// The document's paragraph and character styles, by their ids.
void LoadStyles(const pugi::xml_node& root, OfficeStyles& styles) {
    for (pugi::xml_node style : root.children()) {
        if (!IsElement(style, "style")) continue;
        OfficeStyles::Style entry;
        entry.parent = Val(ChildByLocalName(style, "basedOn"));
        const std::string id = Lower(AttributeByLocalName(style, "styleId").value());
        const std::string name = Lower(Val(ChildByLocalName(style, "name")));
        entry.heading =
            id == "title" || name == "title" || (id.rfind("heading", 0) == 0 && id.size() == 8) ||
            name.rfind("heading ", 0) == 0 ||
            static_cast<bool>(ChildByLocalName(ChildByLocalName(style, "pPr"), "outlineLvl"));
        entry.outlineLevel = StyleOutlineLevel(style, id, name);
        const pugi::xml_node run = ChildByLocalName(style, "rPr");
        entry.bold = OnOff(run, "b");
        entry.italic = OnOff(run, "i");
        const pugi::xml_node numbering = ChildByLocalName(ChildByLocalName(style, "pPr"), "numPr");
        if (const pugi::xml_node id = ChildByLocalName(numbering, "numId")) {
            entry.listId = Val(id);
        }
        if (const pugi::xml_node level = ChildByLocalName(numbering, "ilvl")) {
            entry.listLevel = AttributeByLocalName(level, "val").as_int();
        }
        styles.Add(AttributeByLocalName(style, "styleId").value(), std::move(entry));
    }
}

enum class NoteKind { Footnote, Endnote };

struct NoteRef {
    NoteKind kind;
    std::string id;
    std::size_t number;
};

class DocxWalker {
public:
    DocxWalker(BookTextBuilder& out, const OfficeStyles& styles, DocxNumbering& numbering)
        : out_(out), styles_(styles), numbering_(numbering) {}

    void Block(const pugi::xml_node& node, int depth) {
        if (node.type() != pugi::node_element || depth > kMaxDepth) return;
        const std::string_view name = LocalName(node);
        if (name == "p") {
            Paragraph(node, depth);
        } else if (name == "tbl") {
            Table(node, depth);
        } else if (name == "sdt" || name == "sdtContent" || name == "customXml" || name == "ins" ||
                   name == "moveTo" || name == "body" || name == "footnote" || name == "endnote" ||
                   name == "tc") {
            for (pugi::xml_node child : node.children()) {
                if (out_.Full()) return;
                Block(child, depth + 1);
            }
        }
    }

    // Notes in the order their first references came.
    const std::vector<NoteRef>& Notes() const { return refs_; }

    void SetCurrentNote(std::size_t number) { currentNote_ = number; }

private:
    void Paragraph(const pugi::xml_node& paragraph, int depth) {
        out_.BlockBreak();
        const pugi::xml_node properties = ChildByLocalName(paragraph, "pPr");
        const std::string_view style = Val(ChildByLocalName(properties, "pStyle"));
        const bool heading =
            styles_.Heading(style) || static_cast<bool>(ChildByLocalName(properties, "outlineLvl"));
        // The paragraph's own level comes before its style's.
        const int level = WordOutlineLevel(ChildByLocalName(properties, "outlineLvl"))
                              .value_or(styles_.OutlineLevel(style));
        paragraphStyle_ = std::string(style);
        if (heading) out_.BeginBold();
        if (const std::string label = ListLabel(properties, style); !label.empty()) {
            out_.AppendPreserved(label);
            out_.AppendCollapsed(" ");
        }
        // The title is the heading's text without its number.
        if (level > 0) out_.BeginHeading(level);
        Inline(paragraph, depth + 1);
        if (level > 0) out_.EndHeading();
        if (heading) out_.EndBold();
        out_.BlockBreak();
    }

    // The number or bullet of a list paragraph, counted; the paragraph's own
    // w:numPr comes before its style's, and numId 0 takes the style's away.
    std::string ListLabel(const pugi::xml_node& properties, std::string_view style) {
        const pugi::xml_node numbering = ChildByLocalName(properties, "numPr");
        const pugi::xml_node idNode = ChildByLocalName(numbering, "numId");
        const pugi::xml_node levelNode = ChildByLocalName(numbering, "ilvl");
        const std::optional<std::string> id =
            idNode ? std::optional<std::string>(Val(idNode)) : styles_.ListId(style);
        if (!id || id->empty() || *id == "0") return {};
        const auto styleList = [this](std::string_view styleId) { return styles_.ListId(styleId); };
        std::optional<int> level;
        if (levelNode) level = AttributeByLocalName(levelNode, "val").as_int();
        if (!level && !idNode) level = styles_.ListLevel(style);
        if (!level) level = numbering_.LevelOfStyle(*id, style, styleList);
        return numbering_.Label(*id, level.value_or(0), styleList);
    }

    void Table(const pugi::xml_node& table, int depth) {
        for (pugi::xml_node row : table.children()) {
            if (out_.Full()) return;
            if (!IsElement(row, "tr")) continue;
            out_.BlockBreak();
            bool first = true;
            for (pugi::xml_node cell : row.children()) {
                if (!IsElement(cell, "tc") && !IsElement(cell, "sdt")) continue;
                out_.BeginCell(first);
                first = false;
                Block(cell, depth + 2);
                out_.EndCell();
            }
            out_.BlockBreak();
        }
    }

    void Inline(const pugi::xml_node& node, int depth) {
        if (depth > kMaxDepth) return;
        for (pugi::xml_node child : node.children()) {
            if (out_.Full()) return;
            if (child.type() != pugi::node_element) continue;
            const std::string_view name = LocalName(child);
            if (name == "r") {
                Run(child);
            } else if (name == "hyperlink" || name == "smartTag" || name == "ins" ||
                       name == "moveTo" || name == "fldSimple" || name == "sdt" ||
                       name == "sdtContent" || name == "customXml" || name == "bdo" ||
                       name == "dir") {
                Inline(child, depth + 1);
            }
        }
    }

    void Run(const pugi::xml_node& run) {
        const pugi::xml_node properties = ChildByLocalName(run, "rPr");
        // Hidden text is not read.
        if (OnOff(properties, "vanish").value_or(false)) return;
        const std::string_view runStyle = Val(ChildByLocalName(properties, "rStyle"));
        const bool bold = OnOff(properties, "b")
                              .value_or(styles_.Bold(runStyle).value_or(
                                  styles_.Bold(paragraphStyle_).value_or(false)));
        const bool italic = OnOff(properties, "i")
                                .value_or(styles_.Italic(runStyle).value_or(
                                    styles_.Italic(paragraphStyle_).value_or(false)));
        if (bold) out_.BeginBold();
        if (italic) out_.BeginItalic();
        for (pugi::xml_node child : run.children()) {
            if (child.type() != pugi::node_element) continue;
            const std::string_view name = LocalName(child);
            if (name == "t") {
                out_.AppendPreserved(child.text().get());
            } else if (name == "tab") {
                out_.Tab();
            } else if (name == "br" || name == "cr") {
                out_.BlockBreak();
            } else if (name == "noBreakHyphen") {
                out_.AppendPreserved("-");
            } else if (name == "footnoteReference" || name == "endnoteReference") {
                const NoteKind kind =
                    name == "footnoteReference" ? NoteKind::Footnote : NoteKind::Endnote;
                Reference(kind, AttributeByLocalName(child, "id").value());
            } else if (name == "footnoteRef" || name == "endnoteRef") {
                out_.AppendPreserved("[" + std::to_string(currentNote_) + "]");
            }
        }
        if (italic) out_.EndItalic();
        if (bold) out_.EndBold();
    }

    // Footnotes and endnotes share one numbering, in the order they are met.
    void Reference(NoteKind kind, std::string id) {
        std::size_t number = 0;
        for (const NoteRef& ref : refs_) {
            if (ref.kind == kind && ref.id == id) number = ref.number;
        }
        if (number == 0) {
            number = refs_.size() + 1;
            refs_.push_back({kind, std::move(id), number});
        }
        out_.AppendPreserved("[" + std::to_string(number) + "]");
    }

    BookTextBuilder& out_;
    const OfficeStyles& styles_;
    DocxNumbering& numbering_;
    std::string paragraphStyle_;
    std::vector<NoteRef> refs_;
    std::size_t currentNote_ = 0;
};

// The package's relationships: target by the end of its type.
std::map<std::string, std::string> Relationships(const std::string& xml) {
    std::map<std::string, std::string> targets;
    std::string copy = xml;
    pugi::xml_document document;
    if (!ParseXml(copy, document)) return targets;
    for (pugi::xml_node rel : document.document_element().children()) {
        if (!IsElement(rel, "Relationship")) continue;
        std::string_view type = rel.attribute("Type").value();
        type = type.substr(type.rfind('/') + 1);
        targets.emplace(std::string(type), rel.attribute("Target").value());
    }
    return targets;
}

// A relationship's target, relative to the folder of the part that names it.
std::string Resolve(std::string_view folder, std::string_view target) {
    if (!target.empty() && target[0] == '/') return std::string(target.substr(1));
    return std::string(folder) + std::string(target);
}

// The parts of the package the reader uses, as their XML.
struct DocxParts {
    std::string document;  // the main document
    std::string styles;
    std::string numbering;
    std::string footnotes;
    std::string endnotes;
    std::string core;  // the document properties: author and title
};

// The main document is found through the package's relationships, the parts
// that go with it through its own. Only the main document must be there.
LoadError ReadDocxParts(ZipArchive& archive, DocxParts& parts) {
    std::string xml;
    if (const LoadError error = ReadPackagePart(archive, "_rels/.rels", false, xml);
        error != LoadError::None) {
        return error;
    }
    std::string mainPart = "word/document.xml";
    if (const auto rels = Relationships(xml); rels.count("officeDocument") != 0) {
        mainPart = Resolve("", rels.at("officeDocument"));
    }
    const std::string folder = mainPart.substr(0, mainPart.rfind('/') + 1);
    const std::string relsPart = folder + "_rels/" + mainPart.substr(folder.size()) + ".rels";

    if (const LoadError error = ReadPackagePart(archive, mainPart, true, parts.document);
        error != LoadError::None) {
        return error;
    }
    if (const LoadError error = ReadPackagePart(archive, relsPart, false, xml);
        error != LoadError::None) {
        return error;
    }
    const std::map<std::string, std::string> related = Relationships(xml);
    auto partXml = [&](const char* type, const char* fallback, std::string& out) {
        const auto found = related.find(type);
        const std::string name =
            found != related.end() ? Resolve(folder, found->second) : folder + fallback;
        return ReadPackagePart(archive, name, false, out);
    };
    for (const LoadError error :
         {partXml("styles", "styles.xml", parts.styles),
          partXml("numbering", "numbering.xml", parts.numbering),
          partXml("footnotes", "footnotes.xml", parts.footnotes),
          partXml("endnotes", "endnotes.xml", parts.endnotes),
          ReadPackagePart(archive, "docProps/core.xml", false, parts.core)}) {
        if (error != LoadError::None) return error;
    }
    return LoadError::None;
}

// Author and title from the document properties.
void ReadCoreProperties(std::string& coreXml, LoadedText& book) {
    pugi::xml_document document;
    if (!ParseXml(coreXml, document)) return;
    const pugi::xml_node core = document.document_element();
    book.author = AuthorList(ChildByLocalName(core, "creator").text().get());
    book.title = CollapsedText(ChildByLocalName(core, "title").text().get());
}

// The notes of a notes part (footnotes.xml, endnotes.xml) by their ids.
std::map<std::string, pugi::xml_node> NotesById(std::string& xml, pugi::xml_document& document) {
    std::map<std::string, pugi::xml_node> byId;
    if (!ParseXml(xml, document)) return byId;
    for (pugi::xml_node note : document.document_element().children()) {
        if (note.type() == pugi::node_element) {
            byId.emplace(AttributeByLocalName(note, "id").value(), note);
        }
    }
    return byId;
}

// The notes the text referred to, in the order of their first references.
void AppendNotes(DocxWalker& walker, BookTextBuilder& out, std::string& footnotesXml,
                 std::string& endnotesXml) {
    pugi::xml_document footnotes, endnotes;
    const std::map<std::string, pugi::xml_node> footnoteById = NotesById(footnotesXml, footnotes);
    const std::map<std::string, pugi::xml_node> endnoteById = NotesById(endnotesXml, endnotes);
    // A copy: a note may refer to notes of its own.
    const std::vector<NoteRef> refs = walker.Notes();
    for (const NoteRef& ref : refs) {
        if (out.Full()) break;
        const auto& byId = ref.kind == NoteKind::Footnote ? footnoteById : endnoteById;
        const auto found = byId.find(ref.id);
        if (found == byId.end()) continue;
        walker.SetCurrentNote(ref.number);
        out.EndParagraph();
        walker.Block(found->second, 1);
    }
}

}  // namespace

LoadedText ReadDocx(std::string_view bytes, const BookLimits& limits,
                    const BookProgress& progress) {
    if (bytes.substr(0, kOleSignature.size()) == kOleSignature) {
        return LoadFailure(LoadError::Encrypted);
    }
    std::optional<ZipArchive> archive = ZipArchive::Open(bytes, limits.maxUnpackedBytes, progress);
    if (!archive) return LoadFailure(LoadError::Damaged);
    DocxParts parts;
    if (const LoadError error = ReadDocxParts(*archive, parts); error != LoadError::None) {
        return LoadFailure(error);
    }

    pugi::xml_document document;
    const pugi::xml_node body = ParseXml(parts.document, document)
                                    ? ChildByLocalName(document.document_element(), "body")
                                    : pugi::xml_node();
    if (!body) return LoadFailure(LoadError::Damaged);

    OfficeStyles styles;
    pugi::xml_document stylesDocument;
    if (ParseXml(parts.styles, stylesDocument))
        LoadStyles(stylesDocument.document_element(), styles);

    DocxNumbering numbering;
    pugi::xml_document numberingDocument;
    if (ParseXml(parts.numbering, numberingDocument))
        numbering.Load(numberingDocument.document_element());

    LoadedText book;
    ReadCoreProperties(parts.core, book);
    BookTextBuilder out(limits.maxTextLength);
    DocxWalker walker(out, styles, numbering);
    const auto block = [&](const pugi::xml_node& child) { walker.Block(child, 1); };
    const auto notes = [&] { AppendNotes(walker, out, parts.footnotes, parts.endnotes); };
    if (!WalkOfficeBody(body, out, progress, block, notes)) {
        return LoadFailure(LoadError::Cancelled);
    }
    out.Finish(book);
    return book;
}
