#include "books/Fb2Reader.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "base/ProgramTexts.h"
#include "books/BookTextBuilder.h"
#include "books/XmlParsing.h"
#include "books/ZipArchive.h"

namespace {

// Deeper nesting than any book has is skipped rather than followed, so that
// a hostile file cannot exhaust the stack.
constexpr int kMaxDepth = 200;

bool IsNotesBody(const pugi::xml_node& body) {
    const std::string_view name = body.attribute("name").value();
    return name == "notes" || name == "comments";
}

class Fb2Walker {
public:
    explicit Fb2Walker(BookTextBuilder& out) : out_(out) {}

    void Walk(const pugi::xml_node& node, int depth) {
        for (pugi::xml_node child : node.children()) {
            if (out_.Full()) return;
            Node(child, depth);
        }
    }

    void Node(const pugi::xml_node& node, int depth) {
        if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
            out_.AppendCollapsed(node.value());
            return;
        }
        if (node.type() != pugi::node_element || depth > kMaxDepth) return;
        const std::string_view name = LocalName(node);
        if (name == "image" || name == "binary") return;
        if (name == "p" || name == "v" || name == "text-author" || name == "date") {
            Paragraph(node, depth, false);
        } else if (name == "subtitle") {
            Paragraph(node, depth, true);
        } else if (name == "title") {
            const int level = HeadingLevel(node);
            out_.EndParagraph();
            if (level > 0) out_.BeginHeading(level);
            out_.BeginBold();
            Walk(node, depth + 1);
            out_.EndBold();
            if (level > 0) out_.EndHeading();
            out_.EndParagraph();
        } else if (name == "empty-line") {
            out_.EmptyParagraph();
        } else if (name == "poem") {
            Poem(node, depth);
        } else if (name == "table") {
            Table(node, depth);
        } else if (name == "strong") {
            out_.BeginBold();
            Walk(node, depth + 1);
            out_.EndBold();
        } else if (name == "emphasis") {
            out_.BeginItalic();
            Walk(node, depth + 1);
            out_.EndItalic();
        } else if (name == "section" || name == "epigraph" || name == "cite" ||
                   name == "annotation" || name == "stanza") {
            const bool titled = name == "section" && inMainBody_ && ChildByLocalName(node, "title");
            titledSections_ += titled;
            out_.EndParagraph();
            Walk(node, depth + 1);
            out_.EndParagraph();
            titledSections_ -= titled;
        } else if (name == "a" &&
                   std::string_view(AttributeByLocalName(node, "type").value()) == "note") {
            NoteReference(node);
        } else {
            // Inline elements (a, style, sup, code, ...) and anything unknown
            // give their text where they stand.
            Walk(node, depth + 1);
        }
    }

    // The main body's section titles are the outline; another body (the
    // notes) is one heading of its own.
    void StartBody(const pugi::xml_node& body, bool main) {
        inMainBody_ = main;
        out_.EndParagraph();
        if (!main && !ChildByLocalName(body, "title"))
            out_.HeadingAtNextText(1, CollapsedText(kNotesHeading));
    }

private:
    // A section's title is a heading a level below the titled sections
    // around it; a notes body's title is a top heading; other titles (the
    // main body's, a poem's) are none.
    int HeadingLevel(const pugi::xml_node& title) const {
        const std::string_view parent = LocalName(title.parent());
        if (parent == "section") return inMainBody_ ? titledSections_ : 0;
        return parent == "body" && !inMainBody_ ? 1 : 0;
    }

    // A note's number stands apart from the word it follows, in brackets:
    // "word [1]", not "word1"; a number written "[1]" keeps its own.
    void NoteReference(const pugi::xml_node& link) {
        std::string label;
        for (pugi::xml_node piece = link.first_child(); piece;) {
            if (piece.type() == pugi::node_pcdata || piece.type() == pugi::node_cdata)
                label += piece.value();
            if (piece.first_child()) {
                piece = piece.first_child();
                continue;
            }
            while (piece != link && !piece.next_sibling()) piece = piece.parent();
            if (piece == link) break;
            piece = piece.next_sibling();
        }
        constexpr std::string_view kBlanks = " \t\r\n";
        const std::size_t first = label.find_first_not_of(kBlanks);
        if (first == std::string::npos) return;
        label = label.substr(first, label.find_last_not_of(kBlanks) + 1 - first);
        if (label.front() != '[' || label.back() != ']') label = '[' + label + ']';
        out_.AppendCollapsed(" " + label);
    }

    void Paragraph(const pugi::xml_node& node, int depth, bool bold) {
        out_.EndParagraph();
        if (bold) out_.BeginBold();
        Walk(node, depth + 1);
        if (bold) out_.EndBold();
        out_.EndParagraph();
    }

    void Poem(const pugi::xml_node& poem, int depth) {
        out_.EndParagraph();
        bool stanzaBefore = false;
        for (pugi::xml_node child : poem.children()) {
            if (out_.Full()) return;
            if (child.type() == pugi::node_element && LocalName(child) == "stanza") {
                if (stanzaBefore) out_.EmptyParagraph();
                stanzaBefore = true;
            }
            Node(child, depth + 1);
        }
        out_.EndParagraph();
    }

    void Table(const pugi::xml_node& table, int depth) {
        for (pugi::xml_node row : table.children()) {
            if (out_.Full()) return;
            if (row.type() != pugi::node_element || LocalName(row) != "tr") continue;
            out_.EndParagraph();
            bool first = true;
            for (pugi::xml_node cell : row.children()) {
                if (cell.type() != pugi::node_element) continue;
                const std::string_view name = LocalName(cell);
                if (name != "td" && name != "th") continue;
                if (!first) out_.AppendSeparator('\t');
                first = false;
                if (name == "th") out_.BeginBold();
                Walk(cell, depth + 2);
                if (name == "th") out_.EndBold();
            }
            out_.EndParagraph();
        }
    }

    BookTextBuilder& out_;
    bool inMainBody_ = true;
    int titledSections_ = 0;  // the titled sections of the main body the walk is in
};

std::u32string Authors(const pugi::xml_node& titleInfo) {
    std::u32string authors;
    for (pugi::xml_node author : titleInfo.children()) {
        if (author.type() != pugi::node_element || LocalName(author) != "author") continue;
        std::u32string name;
        for (const char* part : {"first-name", "middle-name", "last-name"}) {
            const std::u32string piece = CollapsedText(ChildByLocalName(author, part).text().get());
            if (piece.empty()) continue;
            if (!name.empty()) name += U' ';
            name += piece;
        }
        if (name.empty()) name = CollapsedText(ChildByLocalName(author, "nickname").text().get());
        if (name.empty()) continue;
        if (!authors.empty()) authors += U", ";
        authors += name;
    }
    return authors;
}

// Where the last end tag of the root, "</FictionBook>" or with a prefix,
// ends; 0 when there is none. Damage past it leaves the book whole.
std::size_t RootEnd(std::string_view xml) {
    constexpr std::string_view kName = "FictionBook>";
    for (std::size_t at = xml.rfind(kName); at != std::string_view::npos && at > 0;
         at = xml.rfind(kName, at - 1)) {
        const std::size_t lt = xml.rfind('<', at);
        if (lt == std::string_view::npos) break;
        const std::string_view tag = xml.substr(lt, at - lt);  // "</" or "</prefix:"
        if (tag == "</" || (tag.starts_with("</") && tag.ends_with(':') &&
                            tag.find_first_of(" \t\r\n/>", 2) == std::string_view::npos)) {
            return at + kName.size();
        }
    }
    return 0;
}

std::size_t TopLevelSections(const pugi::xml_node& body) {
    std::size_t count = 0;
    for (pugi::xml_node child : body.children()) {
        if (child.type() == pugi::node_element && LocalName(child) == "section") ++count;
    }
    return count;
}

}  // namespace

LoadedText ReadFb2(std::string_view bytes, const BookLimits& limits, const BookProgress& progress) {
    LoadedText book;
    std::string utf8 = XmlToUtf8(bytes);
    const std::size_t length = utf8.size();
    const std::size_t rootEnd = RootEnd(utf8);
    pugi::xml_document document;
    std::optional<std::size_t> damagedAt;
    const pugi::xml_node root =
        ParseXml(utf8, document, &damagedAt) ? document.document_element() : pugi::xml_node();
    if (!root || LocalName(root) != "FictionBook") {
        book.error = LoadError::Damaged;
        return book;
    }

    // The main body first, then the others (notes, comments) in file order.
    std::vector<pugi::xml_node> bodies;
    for (pugi::xml_node body : root.children()) {
        if (body.type() == pugi::node_element && LocalName(body) == "body" && !IsNotesBody(body)) {
            bodies.push_back(body);
            break;
        }
    }
    if (bodies.empty()) {
        book.error = LoadError::Damaged;
        return book;
    }
    for (pugi::xml_node body : root.children()) {
        if (body.type() == pugi::node_element && LocalName(body) == "body" && body != bodies[0]) {
            bodies.push_back(body);
        }
    }

    const pugi::xml_node titleInfo =
        ChildByLocalName(ChildByLocalName(root, "description"), "title-info");
    book.author = Authors(titleInfo);
    book.title = CollapsedText(ChildByLocalName(titleInfo, "book-title").text().get());

    std::size_t total = 0;
    for (const pugi::xml_node& body : bodies) total += TopLevelSections(body);
    std::size_t done = 0;
    if (progress && !progress(done, total)) {
        book.error = LoadError::Cancelled;
        return book;
    }

    BookTextBuilder out(limits.maxTextLength);
    Fb2Walker walker(out);
    for (const pugi::xml_node& body : bodies) {
        walker.StartBody(body, body == bodies[0]);
        for (pugi::xml_node child : body.children()) {
            if (out.Full()) break;
            walker.Node(child, 1);
            if (child.type() == pugi::node_element && LocalName(child) == "section") {
                ++done;
                if (progress && !progress(done, total)) {
                    book.error = LoadError::Cancelled;
                    return book;
                }
            }
        }
    }
    out.Finish(book);
    // Nothing to read: pictures only, or an empty body; or damage before any text.
    if (book.text.empty() && !book.truncated)
        return LoadFailure(damagedAt ? LoadError::Damaged : LoadError::NoText);
    if (damagedAt && (rootEnd == 0 || *damagedAt < rootEnd))
        book.damagedAtPercent = static_cast<int>(*damagedAt * 100 / length);
    return book;
}

LoadedText ReadFb2Zip(std::string_view bytes, const BookLimits& limits,
                      const BookProgress& progress) {
    LoadedText book;
    std::optional<ZipArchive> archive = ZipArchive::Open(bytes, limits.maxUnpackedBytes, progress);
    if (!archive) {
        book.error = LoadError::Damaged;
        return book;
    }
    for (const std::string& name : archive->Names()) {
        if (name.size() < 4) continue;
        std::string ending = name.substr(name.size() - 4);
        std::transform(ending.begin(), ending.end(), ending.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (ending != ".fb2") continue;
        std::string content;
        switch (archive->Read(name, content)) {
            case ZipArchive::Status::Ok: return ReadFb2(content, limits, progress);
            case ZipArchive::Status::Encrypted: book.error = LoadError::Encrypted; return book;
            case ZipArchive::Status::TooLarge: book.error = LoadError::BookTooLarge; return book;
            case ZipArchive::Status::Cancelled: book.error = LoadError::Cancelled; return book;
            case ZipArchive::Status::Damaged:
            case ZipArchive::Status::Missing: book.error = LoadError::Damaged; return book;
        }
    }
    book.error = LoadError::Damaged;
    return book;
}
