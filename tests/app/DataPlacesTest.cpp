#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "app/DataPlaces.h"

namespace {

TEST(DataPlaces, ChoosesTheProgramDirectoryElseTheUserFolders) {
    const std::string opt = "/opt/lumeno/";
    const std::string config = "/home/u/.config/lumeno/";
    const std::string data = "/home/u/.local/share/lumeno/";
    const UserDirectories home{"/home/u", "", ""};
    struct Case {
        const char* name;
        std::string program;
        bool programWritable;
        UserDirectories user;
        std::set<std::string> makeable;  // the folders that can be made
        std::optional<DataPlaces> expected;
    };
    // clang-format off
    const Case cases[] = {
        {"portable copy", opt, true, home, {config, data}, DataPlaces{opt, opt}},
        {"installed, defaults under HOME", opt, false, home, {config, data}, DataPlaces{config, data}},
        {"root's /usr/bin is no portable copy", "/usr/bin/", true, home, {config, data},
         DataPlaces{config, data}},
        {"nor is /usr/local/bin", "/usr/local/bin/", true, home, {config, data},
         DataPlaces{config, data}},
        {"HOME with a trailing slash", opt, false, {"/home/u/", "", ""}, {config, data},
         DataPlaces{config, data}},
        {"both variables set", opt, false, {"/home/u", "/cfg", "/dat/"},
         {"/cfg/lumeno/", "/dat/lumeno/"}, DataPlaces{"/cfg/lumeno/", "/dat/lumeno/"}},
        {"relative variables are ignored", opt, false, {"/home/u", "cfg", "./dat"}, {config, data},
         DataPlaces{config, data}},
        {"only one variable set", opt, false, {"/home/u", "", "/dat"}, {config, "/dat/lumeno/"},
         DataPlaces{config, "/dat/lumeno/"}},
        {"variables serve without HOME", opt, false, {"", "/cfg", "/dat"},
         {"/cfg/lumeno/", "/dat/lumeno/"}, DataPlaces{"/cfg/lumeno/", "/dat/lumeno/"}},
        {"no HOME and one variable missing", opt, false, {"", "/cfg", ""}, {"/cfg/lumeno/"},
         std::nullopt},
        {"relative HOME", opt, false, {"home/u", "", ""}, {config, data}, std::nullopt},
        {"settings folder cannot be made", opt, false, home, {data}, std::nullopt},
        {"shelf folder cannot be made", opt, false, home, {config}, std::nullopt},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> made;
        const DirectoryProbe probe{[&](const std::string& directory) {
                                       EXPECT_EQ(directory, c.program);
                                       return c.programWritable;
                                   },
                                   [&](const std::string& directory) {
                                       made.push_back(directory);
                                       return c.makeable.count(directory) > 0;
                                   }};
        EXPECT_EQ(ChooseDataPlaces(c.program, c.user, probe), c.expected);
        // A portable copy never creates folders in the user's home.
        if (c.expected && c.expected->settingsDirectory == c.program) {
            EXPECT_TRUE(made.empty());
        }
    }
}

// The real probe on a temporary tree: folders are made with their parents,
// private to the user, and a folder under a plain file can never be made.
TEST(DataPlaces, TheSystemProbeMakesPrivateFolders) {
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("lmn-places-" + std::to_string(::getpid()));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    std::ofstream(root / "file") << "x";

    const DirectoryProbe probe = SystemDirectoryProbe();
    EXPECT_TRUE(probe.isWritable(root.string() + "/"));
    EXPECT_FALSE(probe.isWritable(root.string() + "/missing/"));
    EXPECT_FALSE(probe.isWritable(root.string() + "/file/"));

    const std::string nested = root.string() + "/a/b/lumeno/";
    EXPECT_TRUE(probe.makeWritable(nested));
    struct stat info {};
    ASSERT_EQ(::stat((root / "a").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_TRUE(probe.makeWritable(nested));  // already there
    EXPECT_FALSE(probe.makeWritable(root.string() + "/file/lumeno/"));

    const UserDirectories user{"", root.string() + "/cfg", root.string() + "/dat"};
    const auto places = ChooseDataPlaces(root.string() + "/missing/", user, probe);
    ASSERT_TRUE(places.has_value());
    EXPECT_TRUE(std::filesystem::is_directory(places->settingsDirectory));
    EXPECT_TRUE(std::filesystem::is_directory(places->shelfDirectory));
    std::filesystem::remove_all(root);
}

TEST(DataPlaces, HelpFileBesideTheProgramComesFirst) {
    EXPECT_EQ(HelpFileCandidates("/usr/bin/", "../share/lumeno"),
              (std::vector<std::string>{"/usr/bin/lmn.html", "/usr/bin/../share/lumeno/lmn.html"}));
}

}  // namespace
