// Real pages through the charset prescan and the converter.
//
// The pages under tests/data/html are Debian documentation as installed on a
// Debian 12 system:
//   zlib_how.html          /usr/share/doc/zlib1g-dev/examples/zlib_how.html
//                          (preformatted blocks, references inside them)
//   users-and-groups.html  /usr/share/doc/base-passwd/users-and-groups.html
//                          (tags broken across lines, &copy;, numeric references)
//   aptitude-ru.html       /usr/share/doc/aptitude/html/ru/ch01s01s01.html from
//                          the package aptitude-doc-ru (Russian, UTF-8)
//   aptitude-ru-cp1251.htm the same page turned into Windows-1251 with
//                          `iconv -f UTF-8 -t CP1251`; it still declares UTF-8
// Each NAME.txt next to them is the expected text (UTF-8, CR LF). It was made by
// this converter and then compared by eye with the page: the head is skipped,
// headings and table cells break lines, "<P" followed by a line break does not
// (the machine wants "<P>" or "<P "), blocks opened by a bare <pre> keep their
// lines, and the two Russian pages give the same text.

#include <fstream>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "base/CodePage.h"
#include "text/HtmlCharset.h"
#include "text/HtmlConverter.h"
#include "text/TextDecoding.h"

namespace {

std::string ReadFixture(const std::string& name) {
    std::ifstream in(std::string(LMN_TEST_DATA) + "/html/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(HtmlPages, GiveTheirTextWholeOrInPieces) {
    struct Page {
        const char* file;
        std::optional<std::string> declared;
        const char* charset;  // what the bytes really are
        const char* expected;
    };
    const Page pages[] = {
        {"zlib_how.html", "ISO-8859-1", "ISO-8859-1", "zlib_how.txt"},
        {"users-and-groups.html", std::nullopt, "windows-1251", "users-and-groups.txt"},
        {"aptitude-ru.html", "utf-8", "UTF-8", "aptitude-ru.txt"},
        {"aptitude-ru-cp1251.htm", "utf-8", "windows-1251", "aptitude-ru.txt"},
    };
    for (const Page& page : pages) {
        SCOPED_TRACE(page.file);
        const std::string bytes = ReadFixture(page.file);
        EXPECT_EQ(DeclaredHtmlCharset(bytes), page.declared);
        const std::optional<std::u32string> html = DecodeCharset(bytes, page.charset);
        ASSERT_TRUE(html);
        const std::string text = ToUtf8(ConvertHtmlToText(*html));
        EXPECT_TRUE(text == ReadFixture(page.expected));
        // Fed a few characters at a time the converter gives the same text.
        std::u32string chunked;
        HtmlConverter converter(chunked);
        for (std::size_t i = 0; i < html->size(); i += 5)
            converter.Feed(std::u32string_view(*html).substr(i, 5));
        converter.Finish();
        EXPECT_TRUE(ToUtf8(chunked) == text);
    }
    // A few spots checked by eye against the pages.
    const std::string zlib = ReadFixture("zlib_how.txt");
    EXPECT_NE(zlib.find("    else if (argc == 2 && strcmp(argv[1], \"-d\") == 0) {\r\n"),
              std::string::npos);
    EXPECT_NE(zlib.find("#include <stdio.h>\r\n#include <string.h>\r\n"), std::string::npos);
    EXPECT_TRUE(zlib.starts_with("\r\n\r\nzlib Usage Example \r\n\r\nWe often get questions"));
    const std::string passwd = ReadFixture("users-and-groups.txt");
    EXPECT_NE(passwd.find("Copyright © 2001, 2002 Joey HessCopyright © 2005"), std::string::npos);
    EXPECT_NE(passwd.find("send mail to <base-passwd@packages.debian.org> or file"),
              std::string::npos);
    const std::string russian = ReadFixture("aptitude-ru.txt");
    EXPECT_TRUE(russian.starts_with("\r\n\r\nОсновы aptitude\r\n\u00A0\r\nИспользование"));
    EXPECT_TRUE(russian.ends_with("\r\n\r\n\u00A0Перемещение по списку пакетов aptitude"));
}

}  // namespace
