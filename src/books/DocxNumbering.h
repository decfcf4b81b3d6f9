#pragma once

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "books/ListNumbering.h"
#include "books/XmlParsing.h"

// The list numbering of a Word document (word/numbering.xml): each list
// (w:num) uses a definition of up to nine levels (w:abstractNum), some of
// which it may override, and counts its paragraphs level by level. A
// paragraph on a level advances that level and starts the deeper ones again,
// unless a deeper level's w:lvlRestart says otherwise.
class DocxNumbering {
public:
    // The style a numbering definition links to (w:numStyleLink) names the
    // list whose levels it takes, by the style's numId.
    using StyleList = std::function<std::optional<std::string>(std::string_view styleId)>;

    void Load(const pugi::xml_node& numbering);

    // The level a paragraph of the style is on in the list, when one of the
    // list's levels names the style (as Word's heading numbering does).
    std::optional<int> LevelOfStyle(std::string_view listId, std::string_view styleId,
                                    const StyleList& styleList) const;

    // Counts a paragraph on the level of the list and gives its label ("1.",
    // "a.", "•", "2.1."); empty when the list or level is unknown or shows
    // nothing.
    std::string Label(std::string_view listId, int level, const StyleList& styleList);

private:
    static constexpr int kLevels = 9;
    struct Level {
        long long start = 1;
        NumberStyle style = NumberStyle::Decimal;
        bool bullet = false;
        bool legal = false;  // every number in its text in digits
        std::string text;
        std::optional<int> restartAfter;  // 1-based level whose items restart this one; 0 never
        std::string paragraphStyle;
    };
    using Levels = std::array<Level, kLevels>;
    struct Definition {
        Levels levels;
        std::string styleLink;  // w:numStyleLink
    };
    struct List {
        std::string definition;
        std::map<int, Level> levelOverrides;
        std::map<int, long long> startOverrides;
        ListCounters counters;
    };

    const Levels* LevelsOf(const List& list, const StyleList& styleList) const;
    Level LevelOf(const List& list, const Levels& levels, int level) const;

    std::map<std::string, Definition, std::less<>> definitions_;
    std::map<std::string, List, std::less<>> lists_;
};
