#pragma once

#include <cstddef>
#include <string_view>

// The control words the RTF reader acts on; every other word is read and
// ignored, as RTF asks of a reader.
enum class RtfWord {
    Unknown,
    // Document code page and default font.
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCodePage,
    DefaultFont,
    // Destinations: groups whose text is not document text.
    FontTable,
    ColorTable,
    SkippedDestination,
    StyleSheet,
    Upr,
    Ud,
    Object,
    Result,
    // Inside the font and colour tables.
    Font,
    FontCharset,
    FontCodePage,
    Red,
    Green,
    Blue,
    // Paragraph styles and outline levels, in the document and its stylesheet.
    ParagraphDefault,
    Style,
    StyleBasedOn,
    OutlineLevel,
    // Character formatting.
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Hidden,
    FontSize,
    Color,
    // Characters.
    Unicode,
    UnicodeSkip,
    Binary,
    Break,
    ParagraphBreak,
    Cell,
    Tab,
    EmDash,
    EnDash,
    LeftQuote,
    RightQuote,
    LeftDoubleQuote,
    RightDoubleQuote,
    Bullet,
    Space,
};

// For tables indexed by word: Space is the last word.
inline constexpr std::size_t kRtfWordCount = static_cast<std::size_t>(RtfWord::Space) + 1;

// The word for a control word's letters (case matters, as in RTF).
RtfWord LookUpRtfWord(std::string_view letters);
