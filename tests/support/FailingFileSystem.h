#pragma once

#include <cerrno>
#include <cstdint>
#include <string>

#include "base/SafeFileWriter.h"

// Passes every call to the system but fails the k-th one (counting from 1),
// and can make writes short or interrupted: the writer must leave the old
// file or the new one whatever fails.
class FailingFileSystem : public FileSystem {
public:
    int failAt = 0;
    int calls = 0;
    std::size_t maxWrite = SIZE_MAX;
    bool interruptFirstWrite = false;

    int OpenDirectory(const std::string& d) override {
        return Fail() ? -1 : FileSystem::OpenDirectory(d);
    }
    int CreateExclusive(int dir, const std::string& n) override {
        return Fail() ? -1 : FileSystem::CreateExclusive(dir, n);
    }
    ssize_t Write(int fd, const char* data, std::size_t size) override {
        if (Fail()) {
            errno = ENOSPC;
            return -1;
        }
        if (interruptFirstWrite) {
            interruptFirstWrite = false;
            errno = EINTR;
            return -1;
        }
        return FileSystem::Write(fd, data, size < maxWrite ? size : maxWrite);
    }
    int Sync(int fd) override { return Fail() ? -1 : FileSystem::Sync(fd); }
    int Close(int fd) override {
        const int result = FileSystem::Close(fd);  // the descriptor is gone either way
        return Fail() ? -1 : result;
    }
    int Rename(int dir, const std::string& from, const std::string& to) override {
        return Fail() ? -1 : FileSystem::Rename(dir, from, to);
    }

private:
    bool Fail() { return ++calls == failAt; }
};
