#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>

// The paragraph styles of a document's \stylesheet, as far as the outline
// needs them: which style is a heading of which level. An entry may carry
// \sN (without it, it is style 0), \outlinelevelN, \sbasedonN and a name, and
// ends with ";" or with the end of its group (the reader says which).
class RtfStyleSheet {
public:
    // A hostile document could define styles without end; real ones use hundreds.
    static constexpr std::size_t kMaxStyles = 10'000;
    static constexpr std::size_t kMaxNameLength = 255;

    void SetNumber(int number);
    // None: body text, whatever the name or the base says.
    void SetOutlineLevel(std::optional<int> level);
    void SetBasedOn(int style);
    void AddToName(char32_t codePoint);
    // Ends the entry being read, if any; a later definition of the same number
    // replaces the earlier.
    void End();

    // The outline level of a style's paragraphs, 0 the top, RTF's way: its own
    // \outlinelevel, else the N of a name "heading N" (as Word names its
    // headings; "заголовок N" too), else its base style's.
    std::optional<int> OutlineLevel(int style) const;

private:
    struct Style {
        std::optional<int> outlineLevel;  // -1: body text
        std::optional<int> basedOn;
        std::u32string name;
    };

    std::unordered_map<int, Style> styles_;
    bool reading_ = false;
    int number_ = 0;
    Style pending_;
};

// A paragraph's outline level from \outlinelevelN: 0 to 8, the top first; 9,
// Word's body text, and anything else is none.
std::optional<int> RtfOutlineLevel(bool hasParam, int param);
