#pragma once

#include <optional>
#include <string>
#include <unordered_map>

#include "text/RtfCharset.h"

struct RtfFont {
    // None: the font leaves the code page to the document.
    std::optional<RtfCharset> charset;
    // UTF-8, without the surrounding blanks; may be empty.
    std::string face;
};

// The fonts of a document's \fonttbl, collected as the reader meets them. An
// entry starts with \fN, may carry \fcharsetN or \cpgN and a name, and ends
// with ";", with the next \fN or with the end of its group, whichever comes
// first (the reader says which); text after the end belongs to no font.
class RtfFontTable {
public:
    // A hostile document could define fonts without end; real ones use tens.
    static constexpr std::size_t kMaxFonts = 10'000;
    static constexpr std::size_t kMaxFaceBytes = 255;

    // Ends the entry being read, if any, and starts entry `number`.
    void Begin(int number);
    void SetCharset(std::optional<RtfCharset> charset);
    // The charset of the entry being read, for decoding its name.
    std::optional<RtfCharset> PendingCharset() const;
    // Adds one character to the name of the entry being read.
    void AddToName(char32_t codePoint);
    // Ends the entry being read; true when there was one. A later definition
    // of the same number replaces the earlier.
    bool End();

    const RtfFont* Find(int number) const;

private:
    std::unordered_map<int, RtfFont> fonts_;
    bool reading_ = false;
    int number_ = 0;
    RtfFont pending_;
};
