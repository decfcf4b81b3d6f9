#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One entry of a folder as the open dialog lists it.
struct FolderEntry {
    std::string name;      // the entry's own bytes, which need not be UTF-8
    std::u32string shown;  // as the title shows such a name
    bool isFolder = false;
};

// The folders and the documents the program can read in a folder, by the
// entries' own bytes: the desktop's widgets skip names that are not UTF-8,
// and such files must still be found. Hidden entries (a leading ".") are
// left out. Folders come first, then documents, each by shown name ignoring
// letter case. Nothing when the folder cannot be read.
std::optional<std::vector<FolderEntry>> ListDocumentFolder(const std::string& folder);

// The folder above a folder; "/" for "/" itself.
std::string ParentFolder(std::string_view folder);

// A path shown name by name, as the title shows each name.
std::u32string ShownPath(std::string_view path);
