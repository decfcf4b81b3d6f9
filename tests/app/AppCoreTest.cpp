#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <fstream>
#include <set>

#include "TempFolder.h"
#include "app/DataPlaces.h"
#include "app/WindowArea.h"

namespace {

TEST(DataPlaces, ChoosesTheFoldersAndFitsTheWindowIntoTheAvailableArea) {
    const std::string opt = "/opt/lumeno/", config = "/home/u/.config/lumeno/";
    const std::string data = "/home/u/.local/share/lumeno/", cfg = "/cfg/lumeno/",
                      dat = "/dat/lumeno/";
    const UserDirectories home{"/home/u", "", ""};
    const DataPlaces user{config, data};
    // Program directory, whether it is writable, the user's folders, those that can be made.
    const std::tuple<std::string, bool, UserDirectories, std::set<std::string>,
                     std::optional<DataPlaces>>
        cases[] = {
            // A portable copy; root's system folders are none; relative user folders are ignored.
            {opt, true, home, {config, data}, DataPlaces{opt, opt}},
            {opt, false, home, {config, data}, user},
            {"/usr/bin/", true, home, {config, data}, user},
            {opt, false, {"/home/u/", "", ""}, {config, data}, user},
            {opt, false, {"/home/u", "/cfg", "/dat/"}, {cfg, dat}, DataPlaces{cfg, dat}},
            {opt, false, {"/home/u", "cfg", "./dat"}, {config, data}, user},
            {opt, false, {"/home/u", "", "/dat"}, {config, dat}, DataPlaces{config, dat}},
            {opt, false, {"", "/cfg", ""}, {cfg}, std::nullopt},
            {opt, false, home, {data}, std::nullopt},
            {opt, false, {"home/u", "", ""}, {config, data}, std::nullopt}};
    for (const auto& [program, writable, user, makeable, expected] : cases) {
        SCOPED_TRACE(program + user.home + user.xdgConfigHome + user.xdgDataHome);
        bool madeAny = false;  // a portable copy never makes folders in the user's home
        const DirectoryProbe probe{
            [&](const std::string& d) { return d == program && writable; },
            [&](const std::string& d) { return (madeAny = true) && makeable.count(d); }};
        EXPECT_EQ(ChooseDataPlaces(program, user, probe), expected);
        EXPECT_FALSE(expected && expected->settingsDirectory == program && madeAny);
    }
    EXPECT_EQ(HelpFileCandidates("/usr/bin/", "../share/lumeno", InterfaceLanguage::Russian),
              (std::vector<std::string>{"/usr/bin/lmn.html", "/usr/bin/../share/lumeno/lmn.html"}));
    EXPECT_EQ(HelpFileCandidates("/p/", "d", InterfaceLanguage::English),
              (std::vector<std::string>{"/p/lmn.en.html", "/p/d/lmn.en.html", "/p/lmn.html",
                                        "/p/d/lmn.html"}));
    // The real probe makes folders with their parents, private, never under a plain file.
    TempFolder folder;
    const std::string root = folder.Path().string();
    std::ofstream(folder.Path("file")) << "x";
    const DirectoryProbe probe = SystemDirectoryProbe();
    EXPECT_TRUE(probe.isWritable(root + "/") && !probe.isWritable(root + "/missing/") &&
                !probe.isWritable(root + "/file/"));
    EXPECT_TRUE(probe.makeWritable(root + "/a/b/lumeno/"));
    struct stat info {};
    ASSERT_EQ(::stat(folder.Path("a").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_TRUE(probe.makeWritable(root + "/a/b/lumeno/") &&
                !probe.makeWritable(root + "/file/lumeno/"));
    // errno means something only after a failed mkdir: here no call before set it.
    const std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(root);
    errno = 0;
    EXPECT_TRUE(probe.makeWritable("relative/"));
    std::filesystem::current_path(cwd);
    EXPECT_EQ(ChooseDataPlaces(root + "/missing/", {"", root + "/cfg", root + "/dat"}, probe),
              (DataPlaces{root + "/cfg/lumeno/", root + "/dat/lumeno/"}));
    EXPECT_TRUE(probe.isWritable(root + "/cfg/lumeno/") && probe.isWritable(root + "/dat/lumeno/"));
    // A 1920x1080 screen at scale 2 offers 960x540, less a 24-pixel panel at the top.
    const ScreenRect halved{0, 24, 960, 516};
    // Saved, area, fitted: the fifth on a screen now gone, the last on none known.
    const ScreenRect rects[][3] = {
        {{50, 50, 800, 400}, halved, {50, 50, 800, 400}},
        {{360, 140, 1200, 800}, halved, halved},
        {{700, 100, 400, 300}, halved, {560, 100, 400, 300}},
        {{10, 0, 400, 300}, halved, {10, 24, 400, 300}},
        {{-2000, -900, 640, 480}, halved, {0, 24, 640, 480}},
        {{5, 5, 0, -3}, halved, halved},
        {{1900, 10, 500, 300}, {1920, 0, 1280, 1024}, {1920, 10, 500, 300}},
        {{5000, 5000, 800, 600}, {0, 0, 10, 0}, {5000, 5000, 800, 600}}};
    for (const auto& c : rects) EXPECT_EQ(FitIntoArea(c[0], c[1]), c[2]) << c[0].left;
}

}  // namespace
