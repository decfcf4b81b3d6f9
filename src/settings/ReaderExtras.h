#pragma once

#include <cstdint>

// Preferences the 348-byte settings record has no room for. They live in a
// small text file, lmn.ini, beside lmn.dat, so that lmn.dat keeps its layout
// for older copies of the program and for anything else that reads it.
struct ReaderExtras {
    // One word at a time: each word is placed so that its recognition letter
    // stays at the middle of the pane, drawn in its own colour.
    bool focusLetter = false;
    std::uint32_t focusLetterColor = 0x000000FF;  // 0x00BBGGRR: red

    bool operator==(const ReaderExtras&) const = default;
};
