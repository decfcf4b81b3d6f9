#include "text/RtfReader.h"

#include <algorithm>
#include <initializer_list>
#include <limits>
#include <span>
#include <utility>

#include "base/HugePages.h"
#include "text/TextDecoding.h"

namespace {

constexpr std::string_view kRtfSignature = "{\\rtf";

// Word's largest font size, 1638 points.
constexpr int kMaxHalfPoints = 3276;

// Digits beyond this no longer change a parameter, which is clamped to int
// anyway; the bound keeps the arithmetic far from overflow.
constexpr std::int64_t kNumberCap = std::int64_t{1} << 40;

bool IsLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

int HexValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool On(bool hasParam, int param) { return !hasParam || param != 0; }

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }

bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The row or column of an enum in a table.
template <typename Enum>
constexpr std::size_t Index(Enum value) {
    return static_cast<std::size_t>(value);
}

}  // namespace

RtfReader::RtfReader(std::size_t maxTextLength) : maxTextLength_(maxTextLength) {}

void RtfReader::Expect(std::size_t documentBytes) {
    document_.text.Reserve(std::min(documentBytes, maxTextLength_));
    std::vector<TextRun>& runs = document_.runs;
    runs.reserve(documentBytes / 64);
    AdviseHugePages(runs.data(), runs.capacity() * sizeof(TextRun));
}

void RtfReader::Feed(std::string_view chunk) {
    std::size_t i = 0;
    while (i < chunk.size()) {
        switch (mode_) {
            case Mode::Prefix:
                prefix_.push_back(chunk[i++]);
                if (prefix_ != kRtfSignature.substr(0, prefix_.size())) {
                    StartPlainText();
                } else if (prefix_.size() == kRtfSignature.size()) {
                    mode_ = Mode::Rtf;
                    for (const char c : std::exchange(prefix_, {})) {
                        FeedRtf(static_cast<unsigned char>(c));
                    }
                }
                break;
            case Mode::Rtf:
                while (i < chunk.size() && mode_ == Mode::Rtf) {
                    FeedRtf(static_cast<unsigned char>(chunk[i++]));
                }
                break;
            case Mode::PlainText: AppendPlain(chunk.substr(i)); return;
            case Mode::Done: return;
        }
    }
}

RtfDocument RtfReader::Finish() {
    switch (mode_) {
        case Mode::Prefix: StartPlainText(); break;
        case Mode::Rtf:
            FinishLexing();
            Refresh();
            FlushBytes();
            break;
        case Mode::PlainText:
        case Mode::Done: break;
    }
    FlushHighSurrogate();
    RtfDocument document = std::move(document_);
    *this = RtfReader(maxTextLength_);
    return document;
}

void RtfReader::StartPlainText() {
    mode_ = Mode::PlainText;
    document_.plainText = true;
    AppendPlain(std::exchange(prefix_, {}));
}

void RtfReader::AppendPlain(std::string_view bytes) {
    const std::size_t room = maxTextLength_ - document_.text.size();
    const RtfCharset& windows1251 = CodePage(1251);
    std::u32string decoded;
    if (bytes.size() > room) {
        windows1251.Decode(bytes.substr(0, room), decoded);
        document_.text.Append(decoded);
        document_.truncated = true;
        mode_ = Mode::Done;
        return;
    }
    windows1251.Decode(bytes, decoded);
    document_.text.Append(decoded);
}

void RtfReader::FeedRtf(unsigned char c) {
    while (Step(c) && mode_ == Mode::Rtf) {
    }
}

bool RtfReader::Step(unsigned char c) {
    switch (lex_) {
        case Lex::Text:
            switch (c) {
                case '{': OpenGroup(); break;
                case '}': CloseGroup(); break;
                case '\\': lex_ = Lex::Backslash; break;
                // Line breaks in RTF source only keep its lines short.
                case '\r':
                case '\n': break;
                default: TakeByte(c, false); break;
            }
            return false;
        case Lex::Backslash: LexBackslash(c); return false;
        case Lex::Word: return LexWord(c);
        case Lex::WordSign: return LexSign(c);
        case Lex::WordNumber: return LexNumber(c);
        case Lex::Hex1: return LexHexHigh(c);
        case Lex::Hex2: return LexHexLow(c);
        case Lex::Binary:
            if (--binaryLeft_ == 0) lex_ = Lex::Text;
            return false;
    }
    return false;
}

void RtfReader::LexBackslash(unsigned char c) {
    if (IsLetter(c)) {
        word_[0] = static_cast<char>(c);
        wordLength_ = 1;
        wordTooLong_ = false;
        negative_ = false;
        number_ = 0;
        lex_ = Lex::Word;
    } else if (c == '\'') {
        lex_ = Lex::Hex1;
    } else {
        lex_ = Lex::Text;
        ControlSymbol(c);
    }
}

bool RtfReader::LexWord(unsigned char c) {
    if (IsLetter(c)) {
        if (wordLength_ < sizeof word_) {
            word_[wordLength_++] = static_cast<char>(c);
        } else {
            wordTooLong_ = true;
        }
        return false;
    }
    if (c == '-') {
        lex_ = Lex::WordSign;
        return false;
    }
    if (IsDigit(c)) {
        number_ = c - '0';
        lex_ = Lex::WordNumber;
        return false;
    }
    return EndWord(false, c);
}

bool RtfReader::LexSign(unsigned char c) {
    if (IsDigit(c)) {
        negative_ = true;
        number_ = c - '0';
        lex_ = Lex::WordNumber;
        return false;
    }
    lex_ = Lex::Text;
    EndWordBeforeHyphen();
    return true;
}

bool RtfReader::LexNumber(unsigned char c) {
    if (IsDigit(c)) {
        if (number_ < kNumberCap) number_ = number_ * 10 + (c - '0');
        return false;
    }
    return EndWord(true, c);
}

bool RtfReader::LexHexHigh(unsigned char c) {
    const int value = HexValue(c);
    if (value < 0) {
        // A cut escape is dropped; the byte is read as it is.
        lex_ = Lex::Text;
        return true;
    }
    hexHigh_ = static_cast<unsigned>(value);
    lex_ = Lex::Hex2;
    return false;
}

bool RtfReader::LexHexLow(unsigned char c) {
    const int value = HexValue(c);
    lex_ = Lex::Text;
    if (value < 0) return true;
    TakeByte(static_cast<unsigned char>(hexHigh_ * 16 + value), true);
    return false;
}

bool RtfReader::EndWord(bool hasParam, unsigned char c) {
    // Set first: \bin turns the lexer to its data.
    lex_ = Lex::Text;
    ControlWord(hasParam);
    // A space ends the word and is part of it; anything else is read again.
    return c != ' ';
}

void RtfReader::EndWordBeforeHyphen() {
    ControlWord(false);
    TakeByte('-', false);
}

void RtfReader::FinishLexing() {
    switch (std::exchange(lex_, Lex::Text)) {
        case Lex::Word: ControlWord(false); break;
        case Lex::WordNumber: ControlWord(true); break;
        case Lex::WordSign: EndWordBeforeHyphen(); break;
        case Lex::Text:
        case Lex::Backslash:
        case Lex::Hex1:
        case Lex::Hex2:
        case Lex::Binary: break;
    }
}

bool RtfReader::Skipping() {
    if (fallbackLeft_ == 0) return false;
    --fallbackLeft_;
    return true;
}

void RtfReader::OpenGroup() {
    AtBrace();
    if (saved_.size() >= kMaxGroupDepth) {
        ++flattenedDepth_;
        return;
    }
    saved_.push_back(group_);
}

void RtfReader::CloseGroup() {
    AtBrace();
    if (flattenedDepth_ > 0) {
        --flattenedDepth_;
        return;
    }
    switch (group_.destination) {
        case Destination::FontTable:
            if (fonts_.End()) ++tablesVersion_;
            break;
        case Destination::ColorTable:
            colors_.EndUnfinishedEntry();
            ++tablesVersion_;
            break;
        case Destination::StyleSheet: styles_.End(); break;
        case Destination::Text:
        case Destination::Skip:
        case Destination::Upr:
        case Destination::Object: break;
    }
    group_ = saved_.back();
    saved_.pop_back();
    // The document ends with its outermost group; what follows is not read.
    if (saved_.empty()) mode_ = Mode::Done;
}

void RtfReader::AtBrace() {
    // A character's bytes never straddle a brace, and a fallback never
    // reaches past one.
    FlushBytes();
    fallbackLeft_ = 0;
    star_ = false;
}

void RtfReader::ControlSymbol(unsigned char c) {
    if (Skipping()) return;
    if (c == '*') {
        star_ = true;
        return;
    }
    star_ = false;
    switch (c) {
        case '\\':
        case '{':
        case '}': DocumentByte(c, true); break;
        case '~':
            if (EmittingText()) EmitCodePoint(0x00A0);
            break;
        case '_':
            // The non-breaking hyphen: many fonts lack U+2011, a hyphen reads the same.
            if (EmittingText()) EmitCodePoint('-');
            break;
        case '\r':
        case '\n':
            if (EmittingText()) EmitBreak();
            break;
        default:
            // "\-" (an optional hyphen) is left out so that the word stays whole,
            // as are "\:", "\|" and symbols RTF does not define.
            break;
    }
}

void RtfReader::ControlWord(bool hasParam) {
    const RtfWord word =
        wordTooLong_ ? RtfWord::Unknown : LookUpRtfWord(std::string_view(word_, wordLength_));
    const std::int64_t signedNumber = negative_ ? -number_ : number_;
    const int param = static_cast<int>(std::clamp<std::int64_t>(
        signedNumber, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));

    // Binary data is passed over wherever it stands, even inside a fallback,
    // so that its bytes are never taken for RTF.
    if (word == RtfWord::Binary) {
        Skipping();
        star_ = false;
        if (hasParam && param > 0) {
            binaryLeft_ = static_cast<std::uint64_t>(param);
            lex_ = Lex::Binary;
        }
        return;
    }
    if (Skipping()) return;
    const Destination destination = group_.destination;
    // "\*" marks a destination that a reader which does not know it skips.
    // Where words are passed over anyway (a skipped group, \upr or \object
    // before their text) it changes nothing.
    if (std::exchange(star_, false) && destination != Destination::Skip &&
        destination != Destination::Upr && destination != Destination::Object) {
        group_.destination = Destination::Skip;
        return;
    }
    const WordHandler handler = kWordHandlers[Index(destination)][Index(word)];
    if (handler != nullptr) (this->*handler)(hasParam, param);
}

constinit const RtfReader::WordHandlers RtfReader::kWordHandlers = [] {
    struct Entry {
        RtfWord word;
        WordHandler handler;
    };
    // These mean the same in the document and in its tables.
    constexpr Entry kAnywhere[] = {
        {RtfWord::Upr, &RtfReader::WrapperWord<Destination::Upr>},
        {RtfWord::Unicode, &RtfReader::UnicodeWord},
        {RtfWord::UnicodeSkip, &RtfReader::UnicodeSkipWord},
    };
    constexpr Entry kText[] = {
        // The document's code page and default font.
        {RtfWord::Ansi, &RtfReader::CharacterSetWord<1252>},
        {RtfWord::Mac, &RtfReader::CharacterSetWord<kMacCodePage>},
        {RtfWord::Pc, &RtfReader::CharacterSetWord<kPcCodePage>},
        {RtfWord::Pca, &RtfReader::CharacterSetWord<kPcaCodePage>},
        {RtfWord::AnsiCodePage, &RtfReader::AnsiCodePageWord},
        {RtfWord::DefaultFont, &RtfReader::DefaultFontWord},
        // Destinations.
        {RtfWord::FontTable, &RtfReader::DestinationWord<Destination::FontTable>},
        {RtfWord::ColorTable, &RtfReader::ColorTableWord},
        {RtfWord::StyleSheet, &RtfReader::DestinationWord<Destination::StyleSheet>},
        {RtfWord::SkippedDestination, &RtfReader::DestinationWord<Destination::Skip>},
        {RtfWord::Object, &RtfReader::WrapperWord<Destination::Object>},
        // Character formatting.
        {RtfWord::Plain, &RtfReader::PlainWord},
        {RtfWord::Bold, &RtfReader::ToggleWord<&CharProps::bold>},
        {RtfWord::Italic, &RtfReader::ToggleWord<&CharProps::italic>},
        {RtfWord::Underline, &RtfReader::ToggleWord<&CharProps::underline>},
        {RtfWord::UnderlineNone, &RtfReader::UnderlineNoneWord},
        {RtfWord::Hidden, &RtfReader::HiddenWord},
        {RtfWord::FontSize, &RtfReader::FontSizeWord},
        {RtfWord::Font, &RtfReader::TableIndexWord<&CharProps::font>},
        {RtfWord::Color, &RtfReader::TableIndexWord<&CharProps::color>},
        // Paragraph properties.
        {RtfWord::ParagraphDefault, &RtfReader::ParagraphDefaultWord},
        {RtfWord::Style, &RtfReader::StyleWord},
        {RtfWord::OutlineLevel, &RtfReader::OutlineLevelWord},
        // Breaks, cells and characters.
        {RtfWord::Break, &RtfReader::BreakWord},
        {RtfWord::ParagraphBreak, &RtfReader::ParagraphBreakWord},
        {RtfWord::Cell, &RtfReader::CellWord},
        {RtfWord::Tab, &RtfReader::CharacterWord<U'\t'>},
        {RtfWord::EmDash, &RtfReader::CharacterWord<0x2014>},
        {RtfWord::EnDash, &RtfReader::CharacterWord<0x2013>},
        {RtfWord::LeftQuote, &RtfReader::CharacterWord<0x2018>},
        {RtfWord::RightQuote, &RtfReader::CharacterWord<0x2019>},
        {RtfWord::LeftDoubleQuote, &RtfReader::CharacterWord<0x201C>},
        {RtfWord::RightDoubleQuote, &RtfReader::CharacterWord<0x201D>},
        {RtfWord::Bullet, &RtfReader::CharacterWord<0x2022>},
        {RtfWord::Space, &RtfReader::CharacterWord<U' '>},
    };
    constexpr Entry kFontTable[] = {
        {RtfWord::Font, &RtfReader::FontEntryWord},
        {RtfWord::FontCharset, &RtfReader::FontCharsetWord},
        {RtfWord::FontCodePage, &RtfReader::FontCodePageWord},
    };
    constexpr Entry kColorTable[] = {
        {RtfWord::Red, &RtfReader::ColorComponentWord<&RtfColorTable::SetRed>},
        {RtfWord::Green, &RtfReader::ColorComponentWord<&RtfColorTable::SetGreen>},
        {RtfWord::Blue, &RtfReader::ColorComponentWord<&RtfColorTable::SetBlue>},
    };
    constexpr Entry kStyleSheet[] = {
        {RtfWord::Style, &RtfReader::StyleEntryWord},
        {RtfWord::OutlineLevel, &RtfReader::StyleOutlineLevelWord},
        {RtfWord::StyleBasedOn, &RtfReader::StyleBasedOnWord},
    };
    // Inside \upr and \object, only the word that starts their text.
    constexpr Entry kUpr[] = {{RtfWord::Ud, &RtfReader::OuterDestinationWord}};
    constexpr Entry kObject[] = {{RtfWord::Result, &RtfReader::OuterDestinationWord}};

    WordHandlers table{};
    const auto add = [&table](Destination destination, std::span<const Entry> entries) {
        for (const Entry& entry : entries) {
            table[Index(destination)][Index(entry.word)] = entry.handler;
        }
    };
    for (const Destination destination : {Destination::Text, Destination::FontTable,
                                          Destination::ColorTable, Destination::StyleSheet}) {
        add(destination, kAnywhere);
    }
    add(Destination::Text, kText);
    add(Destination::FontTable, kFontTable);
    add(Destination::ColorTable, kColorTable);
    add(Destination::StyleSheet, kStyleSheet);
    add(Destination::Upr, kUpr);
    add(Destination::Object, kObject);
    return table;
}();

template <int kCodePage>
void RtfReader::CharacterSetWord(bool, int) {
    characterSet_ = kCodePage;
    ++tablesVersion_;
}

void RtfReader::AnsiCodePageWord(bool hasParam, int param) {
    ansiCodePage_ = CodePageOfNumber(hasParam ? param : 0);
    ++tablesVersion_;
}

void RtfReader::DefaultFontWord(bool hasParam, int param) {
    defaultFont_ = hasParam ? param : 0;
    ++tablesVersion_;
}

template <RtfReader::Destination kDestination>
void RtfReader::DestinationWord(bool, int) {
    group_.destination = kDestination;
}

void RtfReader::ColorTableWord(bool, int) {
    colors_.Clear();
    ++tablesVersion_;
    group_.destination = Destination::ColorTable;
}

template <RtfReader::Destination kDestination>
void RtfReader::WrapperWord(bool, int) {
    group_.outer = group_.destination;
    group_.destination = kDestination;
}

void RtfReader::OuterDestinationWord(bool, int) { group_.destination = group_.outer; }

void RtfReader::PlainWord(bool, int) {
    group_.props = CharProps{};
    group_.hidden = false;
}

template <bool RtfReader::CharProps::*kProp>
void RtfReader::ToggleWord(bool hasParam, int param) {
    group_.props.*kProp = On(hasParam, param);
}

void RtfReader::UnderlineNoneWord(bool, int) { group_.props.underline = false; }

void RtfReader::HiddenWord(bool hasParam, int param) { group_.hidden = On(hasParam, param); }

void RtfReader::FontSizeWord(bool hasParam, int param) {
    group_.props.halfPoints =
        hasParam && param > 0 ? std::min(param, kMaxHalfPoints) : kRtfDefaultHalfPoints;
}

template <int RtfReader::CharProps::*kProp>
void RtfReader::TableIndexWord(bool hasParam, int param) {
    group_.props.*kProp = !hasParam ? 0 : param >= 0 ? param : -1;
}

void RtfReader::ParagraphDefaultWord(bool, int) {
    group_.style = 0;
    group_.outlineLevel.reset();
    group_.outlineLevelSet = false;
}

void RtfReader::StyleWord(bool hasParam, int param) { group_.style = hasParam ? param : 0; }

void RtfReader::OutlineLevelWord(bool hasParam, int param) {
    group_.outlineLevel = RtfOutlineLevel(hasParam, param);
    group_.outlineLevelSet = true;
}

void RtfReader::StyleEntryWord(bool hasParam, int param) {
    styles_.SetNumber(hasParam ? param : 0);
}

void RtfReader::StyleOutlineLevelWord(bool hasParam, int param) {
    styles_.SetOutlineLevel(RtfOutlineLevel(hasParam, param));
}

void RtfReader::StyleBasedOnWord(bool hasParam, int param) {
    styles_.SetBasedOn(hasParam ? param : 0);
}

void RtfReader::BreakWord(bool, int) {
    if (EmittingText()) EmitBreak();
}

void RtfReader::ParagraphBreakWord(bool, int) {
    if (!EmittingText()) return;
    EndParagraph();
    EmitBreak();
}

void RtfReader::EndParagraph() {
    Refresh();
    FlushBytes();
    FlushHighSurrogate();
    if (!std::exchange(paragraphStarted_, false)) return;
    const std::optional<int> level =
        group_.outlineLevelSet ? group_.outlineLevel : styles_.OutlineLevel(group_.style);
    if (!level) return;
    std::u32string title = CollapseBlanks(document_.text.View().substr(paragraphStart_));
    if (!title.empty())
        document_.outline.push_back({*level + 1, std::move(title), paragraphStart_});
}

void RtfReader::CellWord(bool, int) {
    // The tab between cells is written only when more of the row follows,
    // so that a row reads "a<TAB>b" and not "a<TAB>b<TAB>".
    if (EmittingText()) {
        Refresh();
        FlushBytes();
        FlushPending();
        EndParagraph();
        cellTabPending_ = true;
    }
}

template <char32_t kCodePoint>
void RtfReader::CharacterWord(bool, int) {
    if (EmittingText()) EmitCodePoint(kCodePoint);
}

void RtfReader::UnicodeWord(bool hasParam, int param) {
    if (hasParam) UnicodeCharacter(param);
}

void RtfReader::UnicodeSkipWord(bool hasParam, int param) {
    group_.unicodeSkip = hasParam ? std::max(param, 0) : 1;
}

void RtfReader::FontEntryWord(bool hasParam, int param) {
    fonts_.Begin(hasParam ? param : 0);
    ++tablesVersion_;
}

void RtfReader::FontCharsetWord(bool hasParam, int param) {
    fonts_.SetCodePage(CodePageOfFontCharset(hasParam ? param : 0));
}

void RtfReader::FontCodePageWord(bool hasParam, int param) {
    if (const auto codePage = CodePageOfNumber(hasParam ? param : 0)) {
        fonts_.SetCodePage(codePage);
    }
}

template <void (RtfColorTable::*kSet)(int)>
void RtfReader::ColorComponentWord(bool, int param) {
    (colors_.*kSet)(param);
}

void RtfReader::UnicodeCharacter(int param) {
    // A signed 16-bit number; negative ones stand for U+8000..U+FFFF.
    char32_t codePoint = kReplacementCharacter;
    if (param >= -32768 && param < 0) codePoint = static_cast<char32_t>(param + 65536);
    if (param >= 0 && param <= 0xFFFF) codePoint = static_cast<char32_t>(param);
    switch (group_.destination) {
        case Destination::Text:
            if (!group_.hidden) {
                Refresh();
                // Word writes a Symbol-font character at U+F000 + its byte.
                if (resolvedCodePage_->Number() == kSymbolCodePage && codePoint >= 0xF020 &&
                    codePoint <= 0xF0FF) {
                    codePoint =
                        resolvedCodePage_->Decode(static_cast<unsigned char>(codePoint - 0xF000));
                }
                EmitCodePoint(codePoint);
            }
            break;
        case Destination::FontTable: fonts_.AddToName(codePoint); break;
        case Destination::StyleSheet: styles_.AddToName(codePoint); break;
        case Destination::ColorTable:
        case Destination::Skip:
        case Destination::Upr:
        case Destination::Object: break;
    }
    fallbackLeft_ = group_.unicodeSkip;
}

void RtfReader::TakeByte(unsigned char byte, bool escaped) {
    if (!Skipping()) DocumentByte(byte, escaped);
}

void RtfReader::DocumentByte(unsigned char byte, bool escaped) {
    star_ = false;
    switch (group_.destination) {
        case Destination::Text:
            if (group_.hidden) return;
            if (byte < 0x20) {
                if (byte == '\t') EmitCodePoint(U'\t');
                return;
            }
            Refresh();
            if (resolvedCodePage_->MultiByte()) {
                pendingBytes_.push_back(static_cast<char>(byte));
            } else {
                EmitCodePoint(resolvedCodePage_->Decode(byte));
            }
            return;
        case Destination::FontTable:
            if (byte == ';' && !escaped) {
                if (fonts_.End()) ++tablesVersion_;
            } else {
                int codePage = fonts_.PendingCodePage().value_or(DocumentCodePage());
                // The Symbol font's own name is written in plain letters.
                if (codePage == kSymbolCodePage) codePage = 1252;
                fonts_.AddNameByte(byte, CodePage(codePage));
            }
            return;
        case Destination::ColorTable:
            if (byte == ';' && !escaped) {
                colors_.EndEntry();
                ++tablesVersion_;
            }
            return;
        case Destination::StyleSheet:
            if (byte == ';' && !escaped) {
                styles_.End();
            } else if (byte >= 0x20) {
                // A name in a multi-byte code page is no heading's name.
                const RtfCharset& codePage = CodePage(DocumentCodePage());
                styles_.AddToName(codePage.MultiByte() ? kReplacementCharacter
                                                       : codePage.Decode(byte));
            }
            return;
        case Destination::Skip:
        case Destination::Upr:
        case Destination::Object: return;
    }
}

bool RtfReader::EmittingText() const {
    return group_.destination == Destination::Text && !group_.hidden;
}

void RtfReader::EmitCodePoint(char32_t codePoint) {
    Refresh();
    FlushBytes();
    Put(codePoint);
}

void RtfReader::FlushBytes() {
    if (pendingBytes_.empty()) return;
    std::u32string decoded;
    resolvedCodePage_->Decode(pendingBytes_, decoded);
    pendingBytes_.clear();
    for (const char32_t c : decoded) Put(c);
}

void RtfReader::Put(char32_t codePoint) {
    if (IsHighSurrogate(codePoint)) {
        FlushPending();
        pendingHigh_ = codePoint;
        return;
    }
    if (IsLowSurrogate(codePoint)) {
        const char32_t high = std::exchange(pendingHigh_, 0);
        codePoint = high == 0 ? kReplacementCharacter
                              : 0x10000 + ((high - 0xD800) << 10) + (codePoint - 0xDC00);
    } else if (codePoint < 0x20 && codePoint != U'\t') {
        return;
    }
    FlushPending();
    Append(codePoint);
}

void RtfReader::EmitBreak() {
    Refresh();
    FlushBytes();
    FlushHighSurrogate();
    cellTabPending_ = false;
    if (document_.text.size() + 2 > maxTextLength_) {
        // A break is CR LF or nothing, never half of one.
        document_.truncated = true;
        mode_ = Mode::Done;
        return;
    }
    Append(U'\r');
    Append(U'\n');
}

void RtfReader::FlushPending() {
    FlushHighSurrogate();
    if (cellTabPending_) {
        cellTabPending_ = false;
        // The tab between cells is not the next cell's paragraph.
        const bool started = paragraphStarted_;
        Append(U'\t');
        paragraphStarted_ = started;
    }
}

void RtfReader::FlushHighSurrogate() {
    if (pendingHigh_ != 0) {
        pendingHigh_ = 0;
        Append(kReplacementCharacter);
    }
}

void RtfReader::Append(char32_t codePoint) {
    if (document_.text.size() >= maxTextLength_) {
        document_.truncated = true;
        mode_ = Mode::Done;
        return;
    }
    if (formatPending_) {
        formatPending_ = false;
        if (document_.runs.empty() || document_.runs.back().format != resolvedFormat_) {
            document_.runs.push_back(TextRun{document_.text.size(), 0, resolvedFormat_});
        }
    }
    if (!paragraphStarted_ && codePoint != U'\r' && codePoint != U'\n') {
        paragraphStarted_ = true;
        paragraphStart_ = document_.text.size();
    }
    document_.text.push_back(codePoint);
    ++document_.runs.back().length;
}

void RtfReader::Refresh() {
    if (group_.props == resolvedProps_ && tablesVersion_ == resolvedVersion_ &&
        resolvedCodePage_ != nullptr) {
        return;
    }
    FlushBytes();
    resolvedProps_ = group_.props;
    resolvedVersion_ = tablesVersion_;
    const RtfFont* font =
        fonts_.Find(resolvedProps_.font >= 0 ? resolvedProps_.font : defaultFont_);
    resolvedCodePage_ =
        &CodePage(font != nullptr && font->codePage ? *font->codePage : DocumentCodePage());
    CharFormat format;
    format.bold = resolvedProps_.bold;
    format.italic = resolvedProps_.italic;
    format.underline = resolvedProps_.underline;
    format.halfPoints = resolvedProps_.halfPoints;
    format.color = colors_.Find(resolvedProps_.color);
    if (font != nullptr) format.face = font->utf8Face;
    if (format != resolvedFormat_) {
        resolvedFormat_ = std::move(format);
        formatPending_ = true;
    }
}

int RtfReader::DocumentCodePage() const { return ansiCodePage_.value_or(characterSet_); }

const RtfCharset& RtfReader::CodePage(int number) {
    auto it = codePages_.find(number);
    if (it == codePages_.end()) it = codePages_.emplace(number, RtfCharset(number)).first;
    return it->second;
}

RtfDocument ReadRtf(std::string_view bytes) {
    RtfReader reader;
    reader.Feed(bytes);
    return reader.Finish();
}
