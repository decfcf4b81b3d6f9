#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "FailingFileSystem.h"
#include "TempFolder.h"
#include "base/CodePage.h"
#include "base/InterfaceLanguage.h"
#include "base/KeyPositions.h"
#include "base/ProgramTexts.h"
#include "base/SafeFileWriter.h"

namespace {
namespace fs = std::filesystem;

TEST(CodePage, EveryByteMatchesIconvAndRoundTripsKeyLettersAndProgramName) {
    iconv_t cd = iconv_open("UTF-32LE", "CP1251");
    std::string all;
    for (unsigned byte = 0; byte < 256; ++byte) {
        all.push_back(static_cast<char>(byte));
        char in = all.back(), *inPtr = &in, out[4] = {}, *outPtr = out;
        std::size_t inLeft = 1, outLeft = 4;
        // Undefined for iconv, 0x98 reads as the C1 control of that number.
        char32_t expected = 0x98;
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != std::size_t(-1))
            std::memcpy(&expected, out, 4);
        EXPECT_EQ(Cp1251ToUnicode(all.substr(byte))[0], expected) << byte;
    }
    iconv_close(cd);
    EXPECT_TRUE(FitsCp1251(Cp1251ToUnicode(all)));
    EXPECT_EQ(UnicodeToCp1251(Cp1251ToUnicode(all)), all);
    // One "?" for each character the code page lacks.
    for (const auto& [text, expected] :
         {std::pair<std::u32string, std::string>{U"Ёж€№", "\xA8\xE6\x88\xB9"},
          {U"αβ中 a\U0001F600b Café", "??? a?b Caf?"},
          {std::u32string(U"a") + char32_t(0xD800) + char32_t(0x110000), "a??"}}) {
        EXPECT_EQ(UnicodeToCp1251(text), expected);
        EXPECT_EQ(FitsCp1251(text), expected.find('?') == std::string::npos);
    }
    // Keycodes as `xev` reports them with a US layout: the ends of each row.
    const std::uint32_t keycodes[] = {23, 24, 33, 34, 37, 38, 46, 47, 51, 52, 58, 59, 0xFFFFFFFFu};
    for (std::size_t i = 0; i < std::size(keycodes); ++i)
        EXPECT_EQ(UsLetterAtKeycode(keycodes[i]), "\0QP\0\0AL\0\0ZM\0\0"[i]) << keycodes[i];
    EXPECT_TRUE(IsProgramName("lmn") && IsProgramName("LMN") && IsProgramName("Lmn"));
    for (const char* bad : {"reader", "lmn2", "", " lmn"}) EXPECT_FALSE(IsProgramName(bad)) << bad;
}

// Failing calls of the writer: in the shelf tests, with every save.
TEST(InterfaceLanguage, DesktopLocaleAndChoice) {
    using enum InterfaceLanguage;
    struct Case {
        std::string_view stored;  // in lmn.ini
        LocaleVariables desktop;  // LANGUAGE, LC_ALL, LC_MESSAGES, LANG
        InterfaceLanguage expected;
    } cases[] = {
        {"", {"", "", "", "ru_RU.UTF-8"}, Russian},
        {"", {"", "", "", "uk_UA"}, Russian},
        {"", {"", "", "", "be_BY.UTF-8"}, Russian},
        {"", {"", "", "", "C.UTF-8"}, Russian},
        {"", {"", "", "", "POSIX"}, Russian},
        {"", {"", "", "", ""}, Russian},
        {"", {"", "", "", "en_US.UTF-8"}, English},
        {"", {"", "", "", "de_DE"}, English},
        {"", {"en:ru", "", "", "ru_RU.UTF-8"}, English},
        {"", {"de:ru", "", "", "de_DE.UTF-8"}, Russian},
        // gettext ignores LANGUAGE under the C locale.
        {"", {"en", "", "", "C"}, Russian},
        {"", {"", "de_DE", "ru_RU", "ru_RU"}, English},
        {"", {"", "", "ru_RU@euro", "en_GB"}, Russian},
        {"en", {"", "", "", "ru_RU.UTF-8"}, English},
        {"EN", {"", "", "", ""}, English},
        {"ru", {"en", "", "", "en_US.UTF-8"}, Russian},
        {"desktop", {"", "", "", "en_US.UTF-8"}, English},
        {"english", {"", "", "", "ru_RU.UTF-8"}, Russian},  // unknown: the desktop's
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.stored) + "/" + std::string(c.desktop.language) + "|" +
                     std::string(c.desktop.lcAll) + "|" + std::string(c.desktop.lcMessages) + "|" +
                     std::string(c.desktop.lang));
        const LanguageChoice choice = LanguageChoiceFromKey(c.stored);
        EXPECT_EQ(LanguageChoiceFromKey(LanguageChoiceKey(choice)), choice);
        EXPECT_EQ(ChooseInterfaceLanguage(choice, c.desktop), c.expected);
    }
}

TEST(SafeFileWriter, WritingReadingCopyingAndLeftovers) {
    TempFolder folder;
    const std::string path = folder.Path("bksh.dat");
    const std::string bytes(4000, 'n');
    FailingFileSystem system;
    std::tie(system.maxWrite, system.interruptFirstWrite) = std::tuple(7, true);
    ASSERT_TRUE(WriteFileSafely(path, bytes, system));
    EXPECT_EQ(ReadWholeFile(path), bytes);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms(0644));
    // Symbolic links stay, and the file they finally name gets the bytes.
    fs::create_directories(folder.Path() / "data");
    const std::tuple<std::string, std::string, bool> cases[] = {
        // bksh.dat -> link, hop -> ..., not dangling
        {"data/real.dat", "", true},
        {folder.Path("data/abs.dat"), "", true},
        {"hop", "data/chain.dat", true},
        {"data/new.dat", "", false}};
    for (const auto& [link, hop, exists] : cases) {
        const std::string target = hop.empty() ? link : hop;
        fs::remove(path);
        fs::create_symlink(link, path);
        if (!hop.empty()) fs::create_symlink(hop, folder.Path("hop"));
        ASSERT_TRUE(!exists || WriteFileSafely(folder.Path(target), "old"));
        ASSERT_TRUE(WriteFileSafely(path, "new") && fs::is_symlink(path));
        EXPECT_EQ(ReadWholeFile(target[0] == '/' ? target : folder.Path(target)), "new") << target;
    }
    fs::remove(path);
    fs::create_symlink("bksh.dat", path);  // a loop
    EXPECT_FALSE(WriteFileSafely(path, "new"));
    // Reading, copying to a free name and leftovers.
    fs::remove(path);
    EXPECT_TRUE(!ReadWholeFile(path) && !ReadFileUpTo(path, 8) &&
                !CopyToFreeName(path, ".damaged"));
    std::ofstream(path).close();
    EXPECT_TRUE(ReadWholeFile(path) == "" && ReadFileUpTo(path, 8) == "");
    // Read no further than needed to tell a file is longer: one byte past the limit.
    std::ofstream(path, std::ios::binary) << "0123456789";
    EXPECT_TRUE(ReadFileUpTo(path, 10) == "0123456789" && ReadFileUpTo(path, 9) == "0123456789");
    fs::resize_file(path, std::uintmax_t{1} << 30);  // sparse: nothing is written
    EXPECT_TRUE(ReadFileUpTo(path, 4) == "01234" && !ReadFileUpTo(folder.Path(), 4));
    std::ofstream(path, std::ios::trunc) << "shelf";
    std::ofstream(path + ".damaged") << "older copy";
    EXPECT_EQ(CopyToFreeName(path, ".damaged"), path + ".damaged.1");
    EXPECT_EQ(CopyToFreeName(path, ".damaged"), path + ".damaged.2");
    EXPECT_TRUE(ReadWholeFile(path + ".damaged") == "older copy" &&
                ReadWholeFile(path + ".damaged.2") == "shelf");
    const std::string pipe = folder.Path("pipe");  // no regular file: nothing to copy
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    EXPECT_FALSE(CopyToFreeName(pipe, ".damaged") || fs::exists(pipe + ".damaged"));
    // Only the temporaries of that file go.
    const char* names[] = {".bksh.dat.tmp-1-0", ".bksh.dat.tmp-99-3", ".lmn.dat.tmp-1-0",
                           "bksh.dat.tmp"};
    for (const char* name : names) std::ofstream(folder.Path(name)) << "x";
    RemoveLeftoverTemporaries(path);
    for (const char* name : names) EXPECT_EQ(fs::exists(folder.Path(name)), name[1] != 'b') << name;
}

}  // namespace
