#include "app/DataPlaces.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

const std::string kFolderName = "lumeno/";

// The folders packages and administrators install programs into. Root can
// write them, but data written there would lie among the system's files and
// be shared by every user, so they never hold data files.
bool IsSystemProgramDirectory(const std::string& directory) {
    for (const char* system : {"/bin/", "/sbin/", "/usr/bin/", "/usr/sbin/", "/usr/games/",
                               "/usr/local/bin/", "/usr/local/sbin/", "/usr/local/games/"}) {
        if (directory == system) return true;
    }
    return false;
}

bool IsAbsolute(const std::string& path) { return !path.empty() && path.front() == '/'; }

std::string WithSlash(std::string path) {
    if (!path.empty() && path.back() != '/') path += '/';
    return path;
}

// The base directory of one kind: the variable when it is an absolute path,
// else HOME followed by the fallback.
std::optional<std::string> BaseDirectory(const std::string& variable, const std::string& home,
                                         const char* fallback) {
    if (IsAbsolute(variable)) return WithSlash(variable);
    if (IsAbsolute(home)) return WithSlash(home) + fallback;
    return std::nullopt;
}

bool IsWritableDirectory(const std::string& directory) {
    struct stat info {};
    return ::stat(directory.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           ::access(directory.c_str(), W_OK | X_OK) == 0;
}

// Folders the program makes for a user are private to that user.
bool MakeWritableDirectory(const std::string& directory) {
    for (std::size_t slash = directory.find('/', 1); slash != std::string::npos;
         slash = directory.find('/', slash + 1)) {
        const std::string prefix = directory.substr(0, slash);
        if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return IsWritableDirectory(directory);
}

}  // namespace

std::optional<DataPlaces> UserDataPlaces(const UserDirectories& user) {
    const auto config = BaseDirectory(user.xdgConfigHome, user.home, ".config/");
    const auto data = BaseDirectory(user.xdgDataHome, user.home, ".local/share/");
    if (!config || !data) return std::nullopt;
    return DataPlaces{*config + kFolderName, *data + kFolderName};
}

std::optional<DataPlaces> ChooseDataPlaces(const std::string& programDirectory,
                                           const UserDirectories& user,
                                           const DirectoryProbe& probe) {
    if (!programDirectory.empty() && !IsSystemProgramDirectory(programDirectory) &&
        probe.isWritable(programDirectory)) {
        return DataPlaces{programDirectory, programDirectory};
    }
    const std::optional<DataPlaces> places = UserDataPlaces(user);
    if (!places || !probe.makeWritable(places->settingsDirectory) ||
        !probe.makeWritable(places->shelfDirectory)) {
        return std::nullopt;
    }
    return places;
}

DirectoryProbe SystemDirectoryProbe() { return {IsWritableDirectory, MakeWritableDirectory}; }

std::vector<std::string> HelpFileCandidates(const std::string& programDirectory,
                                            const std::string& installedDataFromProgram,
                                            InterfaceLanguage language) {
    const std::string installed = programDirectory + WithSlash(installedDataFromProgram);
    std::vector<std::string> candidates;
    if (language == InterfaceLanguage::English)
        candidates = {programDirectory + "lmn.en.html", installed + "lmn.en.html"};
    candidates.insert(candidates.end(), {programDirectory + "lmn.html", installed + "lmn.html"});
    return candidates;
}
