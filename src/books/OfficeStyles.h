#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// The named styles of a word processor's document, each based on another:
// whether a paragraph of a style is a heading and on which outline level,
// whether its text is bold or italic and which list numbers it is the first
// answer found along the chain, as Word and LibreOffice resolve it. A chain
// that loops or runs very deep is cut off.
class OfficeStyles {
public:
    struct Style {
        std::string parent;  // the key of the style this one is based on; empty for none
        bool heading = false;
        // Its level in the document's outline, from 1; 0 takes a level away.
        std::optional<int> outlineLevel;
        std::optional<bool> bold;
        std::optional<bool> italic;
        std::optional<std::string> listId;  // Word's numId of the list it numbers
        std::optional<int> listLevel;
    };

    void Add(std::string key, Style style) { styles_[std::move(key)] = std::move(style); }

    bool Heading(std::string_view key) const;
    // The outline level of a paragraph of the style; 0 for none.
    int OutlineLevel(std::string_view key) const;
    std::optional<bool> Bold(std::string_view key) const;
    std::optional<bool> Italic(std::string_view key) const;
    std::optional<std::string> ListId(std::string_view key) const;
    std::optional<int> ListLevel(std::string_view key) const;

private:
    template <typename Get>
    auto Find(std::string_view key, Get get) const -> decltype(get(std::declval<const Style&>()));

    std::map<std::string, Style, std::less<>> styles_;
};
