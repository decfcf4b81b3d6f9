#include "books/EpubPackage.h"

#include <algorithm>
#include <cstring>
#include <map>

#include <pugixml.hpp>

namespace {

// No DOCTYPE node, no entity expansion (pugixml never expands DTD entities;
// an unknown reference stays as it stands).
constexpr unsigned kParseOptions = pugi::parse_default & ~pugi::parse_doctype;

bool Parse(pugi::xml_document& document, std::string_view xml) {
    return document.load_buffer(xml.data(), xml.size(), kParseOptions, pugi::encoding_auto);
}

// Names are matched without their namespace prefix: "dc:title", "opf:package"
// and "title" are all the same to a reader.
std::string_view LocalName(const char* name) {
    const std::string_view whole(name);
    const std::size_t colon = whole.rfind(':');
    return colon == std::string_view::npos ? whole : whole.substr(colon + 1);
}

pugi::xml_node Child(pugi::xml_node parent, std::string_view name) {
    for (pugi::xml_node node : parent.children())
        if (node.type() == pugi::node_element && LocalName(node.name()) == name) return node;
    return {};
}

pugi::xml_attribute Attribute(pugi::xml_node node, std::string_view name) {
    for (pugi::xml_attribute attribute : node.attributes())
        if (LocalName(attribute.name()) == name) return attribute;
    return {};
}

// Every element of that name below the node, in document order.
template <typename Visit>
void ForEach(pugi::xml_node parent, std::string_view name, Visit visit) {
    for (pugi::xml_node node = parent.first_child(); node;) {
        if (node.type() == pugi::node_element && LocalName(node.name()) == name) visit(node);
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && node != parent && !node.next_sibling()) node = node.parent();
        if (!node || node == parent) break;
        node = node.next_sibling();
    }
}

bool IsXmlBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// All the text below the node, each run of blanks one space, trimmed.
std::string CollapsedText(pugi::xml_node node) {
    std::string out;
    bool blank = false;
    for (pugi::xml_node text = node.first_child(); text;) {
        if (text.type() == pugi::node_pcdata || text.type() == pugi::node_cdata) {
            for (const char* p = text.value(); *p != '\0'; ++p) {
                if (IsXmlBlank(*p)) {
                    blank = !out.empty();
                } else {
                    if (blank) out.push_back(' ');
                    blank = false;
                    out.push_back(*p);
                }
            }
        }
        if (text.first_child()) {
            text = text.first_child();
            continue;
        }
        while (text && text != node && !text.next_sibling()) text = text.parent();
        if (!text || text == node) break;
        text = text.next_sibling();
    }
    return out;
}

bool HasToken(std::string_view list, std::string_view token) {
    std::size_t i = 0;
    while (i < list.size()) {
        while (i < list.size() && IsXmlBlank(list[i])) ++i;
        std::size_t j = i;
        while (j < list.size() && !IsXmlBlank(list[j])) ++j;
        if (list.substr(i, j - i) == token) return true;
        i = j;
    }
    return false;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string PercentDecoded(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int high = HexValue(text[i + 1]);
            const int low = HexValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                decoded.push_back(static_cast<char>(high * 16 + low));
                i += 2;
                continue;
            }
        }
        decoded.push_back(text[i]);
    }
    return decoded;
}

// An entry of a table of contents, unless its link leaves the archive; a link
// to "#x" alone points into the document holding the table.
std::optional<EpubTocEntry> TocEntry(int level, std::string title, std::string_view href,
                                     std::string_view tocPath) {
    const std::size_t hash = href.find('#');
    EpubTocEntry entry{level, std::move(title), ResolveEpubPath(tocPath, href), {}};
    if (hash == 0) entry.path = std::string(tocPath);
    if (entry.path.empty()) return std::nullopt;
    if (hash != std::string_view::npos) entry.anchor = PercentDecoded(href.substr(hash + 1));
    return entry;
}

// The entries of a table of contents, each an element named item among the
// children of list, whose own entries lie among the children of the element
// innerList gives. Walked with a stack of its own: a book may nest them
// deeper than calls can go.
template <typename InnerList, typename EntryOf>
std::vector<EpubTocEntry> ReadTocEntries(pugi::xml_node list, std::string_view item,
                                         InnerList innerList, EntryOf entryOf) {
    std::vector<EpubTocEntry> entries;
    struct Place {
        pugi::xml_node next;  // the next child of a list to look at
        int level;
    };
    std::vector<Place> places{{list.first_child(), 1}};
    while (!places.empty()) {
        const pugi::xml_node node = places.back().next;
        const int level = places.back().level;
        if (!node) {
            places.pop_back();
            continue;
        }
        places.back().next = node.next_sibling();
        if (node.type() != pugi::node_element || LocalName(node.name()) != item) continue;
        std::optional<EpubTocEntry> entry = entryOf(node, level);
        if (entry) entries.push_back(std::move(*entry));
        places.push_back({innerList(node).first_child(), entry ? level + 1 : level});
    }
    return entries;
}

}  // namespace

std::vector<EpubTocEntry> ParseEpubNavigation(std::string_view xml, std::string_view path) {
    pugi::xml_document document;
    if (!Parse(document, xml)) return {};
    pugi::xml_node toc;
    ForEach(document, "nav", [&](pugi::xml_node node) {
        if (!toc || (HasToken(Attribute(node, "type").value(), "toc") &&
                     !HasToken(Attribute(toc, "type").value(), "toc")))
            toc = node;
    });
    return ReadTocEntries(
        Child(toc, "ol"), "li", [](pugi::xml_node li) { return Child(li, "ol"); },
        [&](pugi::xml_node li, int level) -> std::optional<EpubTocEntry> {
            const pugi::xml_node link = Child(li, "a");
            if (!link) return std::nullopt;
            return TocEntry(level, CollapsedText(link), link.attribute("href").value(), path);
        });
}

std::vector<EpubTocEntry> ParseEpubNcx(std::string_view xml, std::string_view path) {
    pugi::xml_document document;
    if (!Parse(document, xml)) return {};
    return ReadTocEntries(
        Child(Child(document, "ncx"), "navMap"), "navPoint",
        [](pugi::xml_node point) { return point; },
        [&](pugi::xml_node point, int level) {
            return TocEntry(level, CollapsedText(Child(Child(point, "navLabel"), "text")),
                            Child(point, "content").attribute("src").value(), path);
        });
}

std::string ResolveEpubPath(std::string_view basePath, std::string_view href) {
    href = href.substr(0, std::min(href.find('#'), href.size()));
    if (href.empty()) return {};  // the base document itself, not a part of its own
    // A scheme ("http:", "data:") before any "/" makes it a URL.
    const std::size_t colon = href.find(':');
    if (colon != std::string_view::npos && colon < href.find('/')) return {};
    const std::string decoded = PercentDecoded(href);
    std::vector<std::string> parts;
    if (!decoded.starts_with('/')) {
        // The base document's folder.
        const std::size_t slash = basePath.rfind('/');
        std::string_view folder =
            slash == std::string_view::npos ? std::string_view() : basePath.substr(0, slash);
        while (!folder.empty()) {
            const std::size_t next = folder.find('/');
            parts.emplace_back(folder.substr(0, next));
            folder = next == std::string_view::npos ? std::string_view() : folder.substr(next + 1);
        }
    }
    std::string_view rest(decoded);
    while (!rest.empty()) {
        const std::size_t next = rest.find('/');
        const std::string_view part = rest.substr(0, next);
        rest = next == std::string_view::npos ? std::string_view() : rest.substr(next + 1);
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (parts.empty()) return {};
            parts.pop_back();
            continue;
        }
        parts.emplace_back(part);
    }
    std::string path;
    for (const std::string& part : parts) {
        if (!path.empty()) path.push_back('/');
        path += part;
    }
    return path;
}

std::optional<std::string> ParseEpubContainer(std::string_view xml) {
    pugi::xml_document document;
    if (!Parse(document, xml)) return std::nullopt;
    // The first rootfile that is a package document; the media type may be
    // missing in careless books.
    std::optional<std::string> found;
    ForEach(document, "rootfile", [&](pugi::xml_node node) {
        const std::string_view path = Attribute(node, "full-path").value();
        const std::string_view type = Attribute(node, "media-type").value();
        if (found || path.empty()) return;
        if (!type.empty() && type != "application/oebps-package+xml") return;
        std::string resolved = ResolveEpubPath({}, path);
        if (!resolved.empty()) found = std::move(resolved);
    });
    return found;
}

std::optional<EpubPackage> ParseEpubPackage(std::string_view xml, std::string_view packagePath) {
    pugi::xml_document document;
    if (!Parse(document, xml)) return std::nullopt;
    const pugi::xml_node package = Child(document, "package");
    const pugi::xml_node spine = Child(package, "spine");
    if (!spine) return std::nullopt;

    EpubPackage result;
    const pugi::xml_node metadata = Child(package, "metadata");
    ForEach(metadata, "title", [&](pugi::xml_node node) {
        if (result.title.empty()) result.title = CollapsedText(node);
    });
    // Creators who are not authors (editors, illustrators, translators) are
    // left out when a role says so: EPUB 2 as an attribute, EPUB 3 as a meta
    // element refining the creator's id.
    struct Creator {
        std::string id, name, role;
    };
    std::vector<Creator> creators;
    ForEach(metadata, "creator", [&](pugi::xml_node node) {
        creators.push_back(
            {node.attribute("id").value(), CollapsedText(node), Attribute(node, "role").value()});
    });
    ForEach(metadata, "meta", [&](pugi::xml_node node) {
        const std::string_view refines = node.attribute("refines").value();
        if (std::string_view(node.attribute("property").value()) != "role" ||
            !refines.starts_with('#')) {
            return;
        }
        for (Creator& creator : creators)
            if (!creator.id.empty() && creator.id == refines.substr(1))
                creator.role = CollapsedText(node);
    });
    for (const Creator& creator : creators)
        if (!creator.name.empty() && (creator.role.empty() || creator.role == "aut"))
            result.creators.push_back(creator.name);

    struct Item {
        std::string path;
        bool readable = false;
        bool picture = false;
        bool ncx = false;
    };
    // std::map, not a hash: nothing here may depend on hash order.
    std::map<std::string, Item, std::less<>> items;
    const pugi::xml_node manifest = Child(package, "manifest");
    for (pugi::xml_node node : manifest.children()) {
        if (node.type() != pugi::node_element || LocalName(node.name()) != "item") continue;
        const std::string_view type = node.attribute("media-type").value();
        const bool text = type == "application/xhtml+xml" || type == "text/html" ||
                          type == "text/x-oeb1-document";
        const bool nav = HasToken(node.attribute("properties").value(), "nav");
        const bool ncx = type == "application/x-dtbncx+xml";
        std::string path = ResolveEpubPath(packagePath, node.attribute("href").value());
        if (nav && result.navigation.empty()) result.navigation = path;
        if (ncx && result.ncx.empty()) result.ncx = path;
        items.emplace(node.attribute("id").value(),
                      Item{std::move(path), text && !nav, type.starts_with("image/"), ncx});
    }
    if (const auto toc = items.find(std::string_view(spine.attribute("toc").value()));
        toc != items.end() && toc->second.ncx) {
        result.ncx = toc->second.path;
    }
    for (pugi::xml_node node : spine.children()) {
        if (node.type() != pugi::node_element || LocalName(node.name()) != "itemref") continue;
        if (std::string_view(node.attribute("linear").value()) == "no") continue;
        const auto item = items.find(std::string_view(node.attribute("idref").value()));
        // An idref the manifest lacks names nothing: the rest of the spine still reads.
        if (item == items.end() || item->second.path.empty()) continue;
        result.picturesInSpine = result.picturesInSpine || item->second.picture;
        if (!item->second.readable) continue;
        result.documents.push_back(item->second.path);
    }
    return result;
}

std::vector<std::string> ParseEpubEncryption(std::string_view xml) {
    std::vector<std::string> paths;
    pugi::xml_document document;
    if (!Parse(document, xml)) return paths;
    // The references are relative to the root of the archive.
    ForEach(document, "CipherReference", [&](pugi::xml_node node) {
        std::string path = ResolveEpubPath({}, node.attribute("URI").value());
        if (!path.empty()) paths.push_back(std::move(path));
    });
    return paths;
}
