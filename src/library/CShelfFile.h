#pragma once

#include <string>

// The bookshelf file bksh.dat: the documents the reader has put on the shelf.
class CShelfFile {
public:
    void SetPath(std::string path) { path_ = std::move(path); }
    const std::string& Path() const { return path_; }

private:
    std::string path_ = "bksh.dat";
};
