#pragma once

#include <cstdint>
#include <string>

// A named place in a shelved document. The check value is computed from the
// text around the position, so a bookmark can tell when its file has changed.
struct Bookmark {
    std::u32string name;  // stored in Windows-1251
    std::int32_t position = 0;
    std::int32_t checkValue = 0;

    bool operator==(const Bookmark&) const = default;
};
