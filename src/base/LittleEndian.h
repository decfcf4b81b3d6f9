#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// Field-by-field access to the little-endian layouts of the two data files.
// Records are never dumped as C++ structs: every field goes through here at
// its own offset, so the bytes do not depend on the compiler's padding.
namespace le {

inline void PutU32(std::string& bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFFu);
    }
}

inline void PutI32(std::string& bytes, std::size_t offset, std::int32_t value) {
    PutU32(bytes, offset, static_cast<std::uint32_t>(value));
}

inline std::uint32_t GetU32(std::string_view bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
    }
    return value;
}

inline std::int32_t GetI32(std::string_view bytes, std::size_t offset) {
    return static_cast<std::int32_t>(GetU32(bytes, offset));
}

// A zero-padded text block of a fixed width; the text is cut so that at least
// one terminating zero always fits.
inline void PutBlock(std::string& bytes, std::size_t offset, std::size_t width,
                     std::string_view text) {
    const std::size_t length = text.size() < width ? text.size() : width - 1;
    std::memset(bytes.data() + offset, 0, width);
    std::memcpy(bytes.data() + offset, text.data(), length);
}

// The text of a block: up to its first zero, or the whole width when a damaged
// file left no terminator.
inline std::string GetBlock(std::string_view bytes, std::size_t offset, std::size_t width) {
    const std::string_view block = bytes.substr(offset, width);
    return std::string(block.substr(0, block.find('\0')));
}

}  // namespace le
