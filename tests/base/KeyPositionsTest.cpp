#include "base/KeyPositions.h"

#include <gtest/gtest.h>

namespace {

// Keycodes as `xev` reports them with a US layout (evdev numbering).
TEST(KeyPositions, LetterOfTheUsLayoutAtEachKey) {
    struct Row {
        const char* name;
        std::uint32_t keycode;
        char letter;
    };
    const Row rows[] = {
        {"Tab, before the first row", 23, 0},
        {"Q, first of the top row", 24, 'Q'},
        {"P, last of the top row", 33, 'P'},
        {"[ after P", 34, 0},
        {"left Ctrl, before the home row", 37, 0},
        {"A, first of the home row", 38, 'A'},
        {"F", 41, 'F'},
        {"K", 45, 'K'},
        {"L, last of the home row", 46, 'L'},
        {"; after L", 47, 0},
        {"\\ before the bottom row", 51, 0},
        {"Z, first of the bottom row", 52, 'Z'},
        {"C", 54, 'C'},
        {"V", 55, 'V'},
        {"B", 56, 'B'},
        {"O", 32, 'O'},
        {"M, last of the bottom row", 58, 'M'},
        {", after M", 59, 0},
        {"no key", 0, 0},
        {"far out of range", 0xFFFFFFFFu, 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(UsLetterAtKeycode(row.keycode), row.letter) << row.name;
    }
}

}  // namespace
