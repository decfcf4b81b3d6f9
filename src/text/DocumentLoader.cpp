#include "text/DocumentLoader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <limits>
#include <optional>

#include "base/HugePages.h"
#include "text/HtmlCharset.h"
#include "text/HtmlConverter.h"
#include "text/RtfReader.h"
#include "text/TextDecoding.h"

namespace {

// The most bytes a plain-text file needs for that many characters: four per
// character of UTF-8 or UTF-32, and the byte-order mark.
constexpr std::size_t PlainTextByteBudget(std::size_t maxTextLength) {
    return 4 * maxTextLength + 4;
}

struct FileBytes {
    LoadError error = LoadError::None;
    std::string bytes;
    bool complete = true;  // false when the file holds more than the limit
};

// At most limit bytes from the start of a regular file. The file is opened
// without waiting, so that a pipe cannot hold the program; what is not a
// regular file is refused before anything is read from it.
FileBytes ReadFileStart(const std::string& path, std::size_t limit) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {LoadError::OpenFailed, {}, false};
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return {LoadError::OpenFailed, {}, false};
    }
    FileBytes file;
    const auto size = static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 0);
    // Read straight into the string, which grows only when the file has grown
    // since fstat. One byte past the limit tells whether the file goes on.
    std::size_t length = 0;
    file.bytes.reserve(std::min(size, limit) + 1);
    AdviseHugePages(file.bytes.data(), file.bytes.capacity());
    file.bytes.resize(std::min(size, limit) + 1);
    for (;;) {
        if (length == file.bytes.size()) {
            if (length > limit) break;
            file.bytes.resize(
                std::min(limit + 1, length + std::max<std::size_t>(length, 64 * 1024)));
        }
        const ssize_t count = ::read(fd, file.bytes.data() + length, file.bytes.size() - length);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) break;
        length += static_cast<std::size_t>(count);
    }
    file.bytes.resize(length);
    ::close(fd);
    if (file.bytes.size() > limit) {
        file.bytes.resize(limit);
        file.complete = false;
    }
    return file;
}

// A cut UTF-8 file may end in part of a character; without that part the rest
// still reads as UTF-8.
void DropPartialUtf8Character(std::string& bytes) {
    for (std::size_t back = 1; back <= std::min<std::size_t>(3, bytes.size()); ++back) {
        const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if ((byte & 0xC0) == 0x80) continue;  // a continuation byte
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        if (length > back) bytes.resize(bytes.size() - back);
        return;
    }
}

bool IsUtf8Label(std::string_view label) {
    std::string lower(label);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower == "utf-8" || lower == "utf8" || lower == "unicode-1-1-utf-8";
}

// The length CutToLimit leaves, or none when the text stays as it is.
std::optional<std::size_t> LimitedLength(TextView text, std::size_t limit, bool more) {
    if (text.size() > limit) return CutLength(text, limit);
    if (!more || limit == 0 || text.size() < limit) return std::nullopt;
    return CutLength(text, limit - 1);
}

}  // namespace

bool CutToLimit(std::u32string& text, std::size_t limit, bool more) {
    const auto length = LimitedLength(text, limit, more);
    if (length) text.resize(*length);
    return length.has_value();
}

bool CutToLimit(CompactText& text, std::size_t limit, bool more) {
    const auto length = LimitedLength(text, limit, more);
    if (length) text.Truncate(*length);
    return length.has_value();
}

CompactText ReadHtmlDocument(std::string_view bytes, std::size_t maxTextLength,
                             std::vector<Heading>* outline) {
    // A page that says it is UTF-8 is read as UTF-8 when it is well-formed
    // UTF-8 anyway; old pages saved in Windows-1251 often kept the claim.
    std::optional<std::string> declared = DeclaredHtmlCharset(bytes);
    if (declared && IsUtf8Label(*declared)) declared.reset();
    // Decoded a piece at a time as the converter takes it: the page is never
    // held whole in characters beside its bytes and its text.
    CompactText text = ConvertHtmlToText(
        [&](const TextSink& sink) {
            DecodeDocumentTextInPieces(bytes, declared.value_or(""), sink);
        },
        bytes.size(), outline);
    CutToLimit(text, maxTextLength);
    if (outline != nullptr) DropHeadingsPast(*outline, text.size());
    return text;
}

LoadError ReadWholeFile(const std::string& path, std::size_t limit, std::string& bytes) {
    FileBytes file = ReadFileStart(path, limit);
    bytes.clear();
    if (file.error != LoadError::None) return file.error;
    if (!file.complete) return LoadError::TooLarge;
    bytes = std::move(file.bytes);
    return LoadError::None;
}

LoadedText LoadDocumentFile(const std::string& path, DocumentKind kind, std::size_t maxTextLength) {
    if (IsBookKind(kind)) return LoadFailure(LoadError::OpenFailed);
    const bool plain = kind == DocumentKind::PlainText;
    FileBytes file =
        ReadFileStart(path, plain ? PlainTextByteBudget(maxTextLength) : kMaxWholeDocumentBytes);
    if (file.error != LoadError::None) return LoadFailure(file.error);
    if (!plain && !file.complete) return LoadFailure(LoadError::TooLarge);
    if (!file.complete) DropPartialUtf8Character(file.bytes);
    LoadedText loaded;
    switch (kind) {
        case DocumentKind::PlainText:
        case DocumentKind::Html:
            // One character more than the limit tells where the cut may fall.
            loaded.text = plain ? DecodeDocumentText(std::move(file.bytes),
                                                     maxTextLength < kWholeText ? maxTextLength + 1
                                                                                : maxTextLength)
                                : ReadHtmlDocument(file.bytes, kWholeText, &loaded.outline);
            // A plain-text file read only in part goes on past its last character.
            loaded.truncated = CutToLimit(loaded.text, maxTextLength, !file.complete);
            if (plain) loaded.outline = PlainTextOutline(loaded.text);
            DropHeadingsPast(loaded.outline, loaded.text.size());
            return loaded;
        case DocumentKind::RichText: {
            RtfReader reader(maxTextLength);
            reader.Expect(file.bytes.size());
            reader.Feed(file.bytes);
            RtfDocument rtf = reader.Finish();
            loaded.text = std::move(rtf.text);
            loaded.runs = std::move(rtf.runs);
            loaded.outline = std::move(rtf.outline);
            // The reader stops at the limit, maybe in a word.
            if (rtf.truncated) {
                loaded.truncated = true;
                CutToLimit(loaded.text, loaded.text.size(), true);
                CutRuns(loaded.runs, loaded.text.size());
                std::erase_if(loaded.outline, [&](const Heading& heading) {
                    return heading.position >= loaded.text.size();
                });
            }
            return loaded;
        }
        default: break;
    }
    return LoadFailure(LoadError::OpenFailed);
}
