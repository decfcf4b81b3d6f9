#include "base/SafeFileWriter.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

struct SplitPath {
    std::string directory;
    std::string name;
};

SplitPath Split(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

std::string TemporaryPrefix(const std::string& name) { return "." + name + ".tmp-"; }

std::string TemporaryName(const std::string& name) {
    static std::atomic<unsigned> counter{0};
    return TemporaryPrefix(name) + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

bool WriteAll(FileSystem& fileSystem, int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = fileSystem.Write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

int FileSystem::OpenDirectory(const std::string& directory) {
    return ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

int FileSystem::CreateExclusive(int directoryFd, const std::string& name) {
    return ::openat(directoryFd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
}

ssize_t FileSystem::Write(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, size);
}

int FileSystem::Sync(int fd) { return ::fsync(fd); }

int FileSystem::Close(int fd) { return ::close(fd); }

int FileSystem::Rename(int directoryFd, const std::string& from, const std::string& to) {
    return ::renameat(directoryFd, from.c_str(), directoryFd, to.c_str());
}

int FileSystem::Unlink(int directoryFd, const std::string& name) {
    return ::unlinkat(directoryFd, name.c_str(), 0);
}

FileSystem& SystemFileSystem() {
    static FileSystem system;
    return system;
}

std::optional<std::string> ResolveWriteTarget(const std::string& path) {
    // As many links as the kernel itself follows before it gives up.
    constexpr int kMaxLinks = 40;
    std::string current = path;
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 256), '\0');
        for (;;) {
            const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
            if (length < 0) return std::nullopt;
            if (static_cast<std::size_t>(length) < target.size()) {
                target.resize(static_cast<std::size_t>(length));
                break;
            }
            target.resize(target.size() * 2);
        }
        if (target.empty()) return std::nullopt;
        if (target.front() == '/') {
            current = std::move(target);
        } else {
            const SplitPath link = Split(current);
            current = (link.directory == "/" ? "/" : link.directory + "/") + target;
        }
    }
    return std::nullopt;
}

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool WriteFileSafely(const std::string& path, std::string_view bytes, FileSystem& fileSystem) {
    const std::optional<std::string> resolved = ResolveWriteTarget(path);
    if (!resolved) return false;
    struct stat existing {};
    if (::stat(resolved->c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) return false;
    const SplitPath target = Split(*resolved);
    const int directoryFd = fileSystem.OpenDirectory(target.directory);
    if (directoryFd < 0) return false;

    const std::string temporary = TemporaryName(target.name);
    const int fd = fileSystem.CreateExclusive(directoryFd, temporary);
    if (fd < 0) {
        fileSystem.Close(directoryFd);
        return false;
    }
    bool written = WriteAll(fileSystem, fd, bytes) && fileSystem.Sync(fd) == 0;
    // A failed close can mean lost data on some file systems, so it counts.
    written = fileSystem.Close(fd) == 0 && written;
    const bool replaced = written && fileSystem.Rename(directoryFd, temporary, target.name) == 0;
    if (!replaced) {
        fileSystem.Unlink(directoryFd, temporary);
    } else {
        // The new file is in place whatever this reports; syncing the
        // directory only makes the rename itself durable.
        fileSystem.Sync(directoryFd);
    }
    fileSystem.Close(directoryFd);
    return replaced;
}

std::optional<std::string> CopyToFreeName(const std::string& path, const std::string& suffix) {
    const int source = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (source < 0) return std::nullopt;
    struct stat info {};
    if (::fstat(source, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(source);
        return std::nullopt;
    }
    std::string copyPath;
    int copy = -1;
    for (int number = 0; copy < 0 && number < 1000; ++number) {
        copyPath = path + suffix + (number == 0 ? std::string() : "." + std::to_string(number));
        copy = ::open(copyPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (copy < 0 && errno != EEXIST) break;
    }
    if (copy < 0) {
        ::close(source);
        return std::nullopt;
    }
    bool copied = true;
    char block[64 * 1024];
    for (;;) {
        const ssize_t count = ::read(source, block, sizeof block);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) copied = false;
        if (count <= 0) break;
        if (!WriteAll(SystemFileSystem(), copy,
                      std::string_view(block, static_cast<std::size_t>(count)))) {
            copied = false;
            break;
        }
    }
    ::close(source);
    copied = ::fsync(copy) == 0 && copied;
    copied = ::close(copy) == 0 && copied;
    if (!copied) {
        ::unlink(copyPath.c_str());
        return std::nullopt;
    }
    return copyPath;
}

void RemoveLeftoverTemporaries(const std::string& path) {
    const SplitPath target = Split(ResolveWriteTarget(path).value_or(path));
    const std::string prefix = TemporaryPrefix(target.name);
    DIR* directory = ::opendir(target.directory.c_str());
    if (directory == nullptr) return;
    while (const dirent* entry = ::readdir(directory)) {
        const std::string name = entry->d_name;
        if (name.starts_with(prefix)) ::unlinkat(::dirfd(directory), name.c_str(), 0);
    }
    ::closedir(directory);
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream contents;
    contents << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return std::move(contents).str();
}

std::optional<std::string> ReadFileUpTo(const std::string& path, std::size_t limit) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    const std::size_t wanted = limit + 1;
    std::string bytes(std::min<std::size_t>(wanted, static_cast<std::size_t>(info.st_size) + 1),
                      '\0');
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() == wanted) break;
            // The file grew since fstat.
            bytes.resize(std::min(wanted, bytes.size() * 2));
        }
        const ssize_t count = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (count == 0) break;
        filled += static_cast<std::size_t>(count);
    }
    ::close(fd);
    bytes.resize(filled);
    return bytes;
}
