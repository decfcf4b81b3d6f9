#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The colours of a document's \colortbl, in order. Each entry ends with ";";
// one without \red, \green or \blue is the "automatic" colour, which leaves the
// text in the reader's own colour.
class RtfColorTable {
public:
    // A hostile document could list colours without end; real ones use tens.
    static constexpr std::size_t kMaxColors = 10'000;

    // Starts an empty table (a second \colortbl replaces the first).
    void Clear();
    // A component of the entry being read, clamped to 0..255.
    void SetRed(int value);
    void SetGreen(int value);
    void SetBlue(int value);
    void EndEntry();
    // Ends an entry left without its ";" at the end of the table, if it has
    // components.
    void EndUnfinishedEntry();

    // 0x00BBGGRR, or none for an automatic entry or an index the table lacks.
    std::optional<std::uint32_t> Find(int index) const;

private:
    std::vector<std::optional<std::uint32_t>> colors_;
    std::uint32_t red_ = 0;
    std::uint32_t green_ = 0;
    std::uint32_t blue_ = 0;
    bool given_ = false;
};
