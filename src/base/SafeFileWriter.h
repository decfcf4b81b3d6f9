#pragma once

#include <sys/types.h>
#include <optional>
#include <string>
#include <string_view>

// The system calls the safe writer makes, behind an interface so that tests
// can make any one of them fail and check what is left on disk.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Each returns what the POSIX call of the same purpose returns.
    virtual int OpenDirectory(const std::string& directory);
    virtual int CreateExclusive(int directoryFd, const std::string& name);
    virtual ssize_t Write(int fd, const char* data, std::size_t size);
    virtual int Sync(int fd);
    virtual int Close(int fd);
    virtual int Rename(int directoryFd, const std::string& from, const std::string& to);
    virtual int Unlink(int directoryFd, const std::string& name);
};

FileSystem& SystemFileSystem();

// Replaces the file at path with bytes so that a crash, a full disk or a
// failed call at any point leaves either the old file or the new one: the
// bytes go to a temporary file in the same directory, which is synced, closed
// and renamed over the old one; the directory is synced last. A path that is a
// symbolic link is written through: the file it names is replaced, in its own
// directory, and the link stays. Something that is not a regular file (a
// folder, a pipe, a device) is never replaced. Returns false when the new file
// could not be put in place; the old file is then untouched and no temporary
// file is left behind.
bool WriteFileSafely(const std::string& path, std::string_view bytes,
                     FileSystem& fileSystem = SystemFileSystem());

// The file a write of path lands in: path itself, or the file that a symbolic
// link (or a chain of them) at path finally names, whether it exists or not.
// Nothing for a chain that loops or is too long.
std::optional<std::string> ResolveWriteTarget(const std::string& path);

// Whether path names a regular file, following symbolic links.
bool IsRegularFile(const std::string& path);

// Copies the file at path beside it as path + suffix, or, when that name is
// taken, path + suffix + ".1", ".2" and so on; nothing already there is
// overwritten. Gives the copy's path, or nothing when no copy could be made
// (the partial copy is then removed).
std::optional<std::string> CopyToFreeName(const std::string& path, const std::string& suffix);

// Removes temporary files that an interrupted WriteFileSafely of path left.
void RemoveLeftoverTemporaries(const std::string& path);

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);
// The first limit + 1 bytes of a regular file at most, so that a caller can
// tell a file longer than anything it wrote without reading all of it.
// Nothing when it cannot be opened or read, or is not a regular file (a pipe
// is never waited on).
std::optional<std::string> ReadFileUpTo(const std::string& path, std::size_t limit);
