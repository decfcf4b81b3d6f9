#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

// The named styles of a word processor's document, each based on another:
// whether a paragraph of a style is a heading and whether its text is bold
// or italic is the first answer found along the chain, as Word and
// LibreOffice resolve it. A chain that loops or runs very deep is cut off.
class OfficeStyles {
public:
    struct Style {
        std::string parent;  // the key of the style this one is based on; empty for none
        bool heading = false;
        std::optional<bool> bold;
        std::optional<bool> italic;
    };

    void Add(std::string key, Style style) { styles_[std::move(key)] = std::move(style); }

    bool Heading(std::string_view key) const;
    std::optional<bool> Bold(std::string_view key) const;
    std::optional<bool> Italic(std::string_view key) const;

private:
    template <typename Get>
    std::optional<bool> Find(std::string_view key, Get get) const;

    std::map<std::string, Style, std::less<>> styles_;
};
