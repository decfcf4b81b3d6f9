#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/InterfaceLanguage.h"

// Where the program's own files live. An unpacked copy whose folder the user
// can write keeps lmn.dat and bksh.dat beside the executable (a portable
// copy); an installed one keeps the settings in the user's configuration
// folder and the shelf in the user's data folder, by the freedesktop base
// directory rules.

// The directories a data file may go to; each ends with "/".
struct DataPlaces {
    std::string settingsDirectory;
    std::string shelfDirectory;
    bool operator==(const DataPlaces&) const = default;
};

// The environment variables the rule reads; an unset variable is empty.
struct UserDirectories {
    std::string home;
    std::string xdgConfigHome;
    std::string xdgDataHome;
};

// The user's folders: $XDG_CONFIG_HOME/lumeno/ and $XDG_DATA_HOME/lumeno/. A
// variable that is unset, empty or not an absolute path counts as unset and
// gives way to ~/.config and ~/.local/share. Nothing when a folder has
// neither its variable nor an absolute HOME to fall back on.
std::optional<DataPlaces> UserDataPlaces(const UserDirectories& user);

// How the rule asks the file system; tests hand in their own answers.
struct DirectoryProbe {
    // The directory exists and a file can be created in it.
    std::function<bool(const std::string& directory)> isWritable;
    // Creates the directory and its missing parents; true when it then exists
    // and a file can be created in it.
    std::function<bool(const std::string& directory)> makeWritable;
};

// The program directory when it is writable and not one of the system's
// program folders (/usr/bin and the like, which root can write), else the
// user's folders, made as needed; nothing when neither can be written.
std::optional<DataPlaces> ChooseDataPlaces(const std::string& programDirectory,
                                           const UserDirectories& user,
                                           const DirectoryProbe& probe);

// The probe of the real file system.
DirectoryProbe SystemDirectoryProbe();

// The places the help file is looked for, in order: beside the executable,
// then in the installed data folder (given relative to the program
// directory, as the install lays them out, so a tree moved elsewhere still
// finds it). The English interface looks for the English lmn.en.html first
// and falls back on the Russian file.
std::vector<std::string> HelpFileCandidates(const std::string& programDirectory,
                                            const std::string& installedDataFromProgram,
                                            InterfaceLanguage language);
