#include "base/KeyPositions.h"

#include <string_view>

char UsLetterAtKeycode(std::uint32_t keycode) {
    struct Row {
        std::uint32_t first;
        std::string_view letters;
    };
    // The three letter rows, each from its leftmost key.
    constexpr Row kRows[] = {{24, "QWERTYUIOP"}, {38, "ASDFGHJKL"}, {52, "ZXCVBNM"}};
    for (const Row& row : kRows) {
        if (keycode >= row.first && keycode - row.first < row.letters.size()) {
            return row.letters[keycode - row.first];
        }
    }
    return 0;
}
