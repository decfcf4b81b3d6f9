#include "text/DocumentLoader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <optional>

#include "base/CodePage.h"
#include "text/HtmlConverter.h"
#include "text/RtfReader.h"

namespace {

// The file's bytes up to the first read error, or nothing when it cannot be
// opened. A folder cannot be opened as a document.
std::optional<std::string> ReadDocumentBytes(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string bytes;
    if (S_ISREG(info.st_mode) && info.st_size > 0)
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    char block[64 * 1024];
    for (;;) {
        const ssize_t count = ::read(fd, block, sizeof block);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) break;
        bytes.append(block, static_cast<std::size_t>(count));
    }
    ::close(fd);
    return bytes;
}

}  // namespace

std::string ReadPlainTextDocument(std::string bytes) {
    std::string text = DocumentBytesToCp1251(std::move(bytes));
    if (text.size() > kMaxTextLength) text.resize(kMaxTextLength);
    return text;
}

std::string ReadHtmlDocument(std::string bytes) {
    const std::string html = DocumentBytesToCp1251(std::move(bytes));
    std::string text = ConvertHtmlToText(html);
    if (text.size() > kMaxTextLength) text.resize(kMaxTextLength);
    return text;
}

LoadedText LoadDocumentFile(const std::string& path, DocumentKind kind) {
    std::optional<std::string> bytes = ReadDocumentBytes(path);
    if (!bytes) return {LoadError::OpenFailed, {}, {}};
    switch (kind) {
        case DocumentKind::PlainText:
            return {LoadError::None, ReadPlainTextDocument(std::move(*bytes)), {}};
        case DocumentKind::Html:
            return {LoadError::None, ReadHtmlDocument(std::move(*bytes)), {}};
        case DocumentKind::RichText: {
            RtfDocument rtf = ReadRtf(*bytes);
            return {LoadError::None, std::move(rtf.text), std::move(rtf.runs)};
        }
    }
    return {LoadError::OpenFailed, {}, {}};
}
