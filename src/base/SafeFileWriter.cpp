#include "base/SafeFileWriter.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
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

bool WriteFileSafely(const std::string& path, std::string_view bytes, FileSystem& fileSystem) {
    const SplitPath target = Split(path);
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

void RemoveLeftoverTemporaries(const std::string& path) {
    const SplitPath target = Split(path);
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
