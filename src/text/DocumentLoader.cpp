#include "text/DocumentLoader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>

#include "base/CodePage.h"
#include "text/HtmlConverter.h"
#include "text/RtfReader.h"

namespace {

// The most bytes a plain-text file needs for that many characters: four per
// character of UTF-8, and the byte-order mark.
constexpr std::size_t PlainTextByteBudget(std::size_t maxTextLength) {
    return 4 * maxTextLength + 3;
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
    file.bytes.reserve(std::min(size, limit));
    char block[64 * 1024];
    // One byte past the limit tells whether the file goes on.
    while (file.bytes.size() <= limit) {
        const std::size_t wanted = std::min(sizeof block, limit + 1 - file.bytes.size());
        const ssize_t count = ::read(fd, block, wanted);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) break;
        file.bytes.append(block, static_cast<std::size_t>(count));
    }
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

}  // namespace

MessageCode LoadErrorMessage(LoadError error) {
    switch (error) {
        case LoadError::None:
        case LoadError::OpenFailed:
            return MessageCode::MSG_FILE_OPEN_FAILED;
        case LoadError::TooLarge:
            return MessageCode::MSG_FILE_TOO_LARGE;
    }
    return MessageCode::MSG_FILE_OPEN_FAILED;
}

std::string ReadPlainTextDocument(std::string bytes) {
    std::string text = DocumentBytesToCp1251(std::move(bytes));
    if (text.size() > kMaxTextLength) text.resize(kMaxTextLength);
    return text;
}

std::string ReadHtmlDocument(std::string bytes) {
    const std::string html = DocumentBytesToCp1251(std::move(bytes));
    std::u32string unicode;
    unicode.reserve(html.size());
    for (const char c : html)
        unicode.push_back(ByteToUnicode(CodePage::Windows1251, static_cast<unsigned char>(c)));
    std::string text;
    for (const char32_t c : ConvertHtmlToText(unicode))
        text.push_back(UnicodeToByte(CodePage::Windows1251, c));
    if (text.size() > kMaxTextLength) text.resize(kMaxTextLength);
    return text;
}

LoadedText LoadDocumentFile(const std::string& path, DocumentKind kind, std::size_t maxTextLength) {
    const bool plain = kind == DocumentKind::PlainText;
    FileBytes file =
        ReadFileStart(path, plain ? PlainTextByteBudget(maxTextLength) : kMaxWholeDocumentBytes);
    if (file.error != LoadError::None) return {file.error, {}, {}};
    if (!plain && !file.complete) return {LoadError::TooLarge, {}, {}};
    if (!file.complete) DropPartialUtf8Character(file.bytes);
    switch (kind) {
        case DocumentKind::PlainText: {
            std::string text = ReadPlainTextDocument(std::move(file.bytes));
            if (text.size() > maxTextLength) text.resize(maxTextLength);
            return {LoadError::None, std::move(text), {}};
        }
        case DocumentKind::Html: {
            std::string text = ReadHtmlDocument(std::move(file.bytes));
            if (text.size() > maxTextLength) text.resize(maxTextLength);
            return {LoadError::None, std::move(text), {}};
        }
        case DocumentKind::RichText: {
            RtfReader reader(maxTextLength);
            reader.Feed(file.bytes);
            RtfDocument rtf = reader.Finish();
            return {LoadError::None, std::move(rtf.text), std::move(rtf.runs)};
        }
    }
    return {LoadError::OpenFailed, {}, {}};
}
