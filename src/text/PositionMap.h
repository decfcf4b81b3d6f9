#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// Converts between positions in the program's text, where CR and LF count one
// each, and positions in the text widget, where every line break (CR LF, lone
// CR, lone LF) is one block separator. Only CR LF pairs differ, so the map
// keeps their widget positions sorted and answers by binary search.
class PositionMap {
public:
    PositionMap() = default;
    explicit PositionMap(std::string_view text);

    std::size_t ToWidget(std::size_t position) const;
    std::size_t ToText(std::size_t widgetPosition) const;

private:
    // The widget position of the break of the i-th CR LF pair; the pair's CR
    // is at text position pairs_[i] + i.
    std::vector<std::size_t> pairs_;
};
