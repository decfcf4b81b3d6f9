#pragma once

#include <cstdint>

// The Latin letter the US layout has on a key, found by the key's X keycode
// (the evdev numbering of today's X servers): where the active layout gives
// a letter key no Latin letter at all (Russian alone, say), a command key is
// the key in the place of the US one, as on every desktop. 0 for a key that
// carries no letter there.
char UsLetterAtKeycode(std::uint32_t keycode);
