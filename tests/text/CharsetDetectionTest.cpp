// How often the legacy code page of a real text is found. The texts under
// tests/data/encodings (see its README) are UTF-8; each is written here in the
// code pages of its language and handed to the detector whole and cut to its
// first kilobyte. A guess counts as right when it names the code page, or
// reads the bytes to the same text (a first kilobyte with no letter beyond
// ASCII is UTF-8 as much as anything).

#include <unicode/ucnv.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/TextDecoding.h"

namespace {

namespace fs = std::filesystem;

constexpr double kWantedRate = 0.95;
constexpr std::size_t kPrefix = 1024;

std::vector<std::string> ReadTexts(const std::vector<std::string>& languages) {
    std::vector<std::string> texts;
    for (const std::string& language : languages) {
        const fs::path folder = fs::path(LMN_TEST_DATA) / "encodings" / language;
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files) {
            std::ifstream in(file, std::ios::binary);
            texts.emplace_back(std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>());
        }
    }
    return texts;
}

// The UTF-8 text in another charset; empty if a character has no place there.
std::string Encode(const std::string& utf8, const char* charset) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* from = ucnv_open("UTF-8", &status);
    UConverter* to = ucnv_open(charset, &status);
    ucnv_setFromUCallBack(to, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    std::string out(4 * utf8.size() + 16, '\0');
    char* target = out.data();
    const char* source = utf8.data();
    ucnv_convertEx(to, from, &target, out.data() + out.size(), &source, utf8.data() + utf8.size(),
                   nullptr, nullptr, nullptr, nullptr, true, true, &status);
    ucnv_close(from);
    ucnv_close(to);
    if (U_FAILURE(status)) return {};
    out.resize(static_cast<std::size_t>(target - out.data()));
    return out;
}

bool ReadRight(const std::string& bytes, const std::string& charset) {
    const std::string guess = DetectDocumentCharset(bytes);
    return guess == charset || DecodeCharset(bytes, guess) == DecodeCharset(bytes, charset);
}

struct Rates {
    int right = 0;
    int rightPrefix = 0;
    int total = 0;
};

TEST(CharsetDetection, RealTextsInEachCodePage) {
    const std::vector<std::string> russian = ReadTexts({"ru"});
    const std::vector<std::string> western = ReadTexts({"de", "fr", "es"});
    ASSERT_GE(russian.size(), 20U);
    ASSERT_GE(western.size(), 20U);
    const std::map<std::string, const std::vector<std::string>*> corpora = {
        {"windows-1251", &russian}, {"KOI8-R", &russian},         {"IBM866", &russian},
        {"ISO-8859-5", &russian},   {"x-mac-cyrillic", &russian}, {"windows-1252", &western},
        {"UTF-8", &russian},
    };
    std::printf("%-16s %9s %9s\n", "code page", "whole", "1 KB");
    for (const auto& [charset, texts] : corpora) {
        Rates rates;
        for (const std::string& text : *texts) {
            const std::string bytes = Encode(text, charset.c_str());
            ASSERT_FALSE(bytes.empty()) << "a text not writable in " << charset;
            const std::string prefix = bytes.substr(0, kPrefix);
            ++rates.total;
            rates.right += ReadRight(bytes, charset);
            rates.rightPrefix += ReadRight(prefix, charset);
            if (!ReadRight(prefix, charset)) {
                std::printf("  %s: 1 KB of a text read as %s\n", charset.c_str(),
                            DetectDocumentCharset(prefix).c_str());
            }
        }
        const double whole = double(rates.right) / rates.total;
        const double prefix = double(rates.rightPrefix) / rates.total;
        std::printf("%-16s %8.1f%% %8.1f%%  (%d texts)\n", charset.c_str(), 100 * whole,
                    100 * prefix, rates.total);
        EXPECT_GE(whole, kWantedRate) << charset;
        EXPECT_GE(prefix, kWantedRate) << charset;
    }
}

}  // namespace
