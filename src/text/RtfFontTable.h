#pragma once

#include <optional>
#include <string>
#include <unordered_map>

#include "text/RtfCharset.h"

struct RtfFont {
    // None: the font leaves the code page to the document.
    std::optional<int> codePage;
    // Without the surrounding blanks; may be empty.
    std::u32string face;
    // The same in UTF-8, as formats carry it.
    std::string utf8Face;
};

// The fonts of a document's \fonttbl, collected as the reader meets them. An
// entry starts with \fN, may carry \fcharsetN or \cpgN and a name, and ends
// with ";", with the next \fN or with the end of its group, whichever comes
// first (the reader says which); text after the end belongs to no font.
class RtfFontTable {
public:
    // A hostile document could define fonts without end; real ones use tens.
    static constexpr std::size_t kMaxFonts = 10'000;
    static constexpr std::size_t kMaxFaceLength = 255;

    // Ends the entry being read, if any, and starts entry `number`.
    void Begin(int number);
    void SetCodePage(std::optional<int> codePage);
    // The code page of the entry being read, for decoding its name.
    std::optional<int> PendingCodePage() const;
    // Adds one byte of the name of the entry being read, in `codePage`, which
    // must outlive the entry. A multi-byte code page's characters may take
    // several bytes, so bytes are decoded once the name has them all.
    void AddNameByte(unsigned char byte, const RtfCharset& codePage);
    // Adds one character to the name of the entry being read.
    void AddToName(char32_t codePoint);
    // Ends the entry being read; true when there was one. A later definition
    // of the same number replaces the earlier.
    bool End();

    const RtfFont* Find(int number) const;

private:
    void DecodeNameBytes();

    std::unordered_map<int, RtfFont> fonts_;
    bool reading_ = false;
    int number_ = 0;
    RtfFont pending_;
    std::string nameBytes_;
    const RtfCharset* nameCodePage_ = nullptr;
};
