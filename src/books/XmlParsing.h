#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// How the book readers parse XML: the bytes are made UTF-8 first (the
// byte-order mark, else the declared encoding, else UTF-8), then pugixml
// parses them without the DOCTYPE: no entity a document defines is ever
// expanded, and an unknown entity stays as it is written.

// The bytes as UTF-8, without a byte-order mark.
std::string XmlToUtf8(std::string_view bytes);

// Parses UTF-8 in place (the string must outlive the document). A document
// cut short keeps what was parsed before the cut. False when there is no
// element at all. When damagedAt is given it gets the offset in utf8 where
// the XML stops being well-formed, or nothing for a sound document.
bool ParseXml(std::string& utf8, pugi::xml_document& document,
              std::optional<std::size_t>* damagedAt = nullptr);

// The element's name without its namespace prefix ("w:p" is "p").
std::string_view LocalName(const pugi::xml_node& node);
// The attribute by its local name, whatever its prefix.
pugi::xml_attribute AttributeByLocalName(const pugi::xml_node& node, std::string_view name);
// The first child element with that local name.
pugi::xml_node ChildByLocalName(const pugi::xml_node& node, std::string_view name);
