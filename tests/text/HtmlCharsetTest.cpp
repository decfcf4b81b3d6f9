// The charset prescan of a page's raw bytes.

#include "text/HtmlCharset.h"

#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace {

TEST(HtmlCharset, DeclarationsInTheirForms) {
    struct Case {
        const char* label;
        std::string bytes;
        std::optional<std::string> charset;
    };
    const std::string filler(1000, 'x');
    const Case cases[] = {
        {"meta charset", "<html><head><meta charset=\"windows-1251\">", "windows-1251"},
        {"unquoted, single quotes, blanks round =", "<meta charset=koi8-r>", "koi8-r"},
        {"single quotes", "<meta charset='KOI8-R'>", "KOI8-R"},
        {"blanks round =", "<meta charset = \"ibm866\" >", "ibm866"},
        {"any letter case", "<META CharSet=\"UTF-8\">", "UTF-8"},
        {"label as written, without blanks round it", "<meta charset=\" windows-1251\t\">",
         "windows-1251"},
        {"XHTML closing slash", "<meta charset=\"utf-8\"/>", "utf-8"},
        {"slash right after meta", "<meta/charset=cp1251>", "cp1251"},
        {"unquoted ends at >", "<meta charset=koi8-u><p>", "koi8-u"},
        {"http-equiv and content",
         "<meta http-equiv=\"Content-Type\" "
         "content=\"text/html; charset=windows-1251\">",
         "windows-1251"},
        {"content first, any case, no blank",
         "<Meta CONTENT='text/html;CHARSET=cp866' "
         "HTTP-EQUIV=content-type>",
         "cp866"},
        {"charset in content ends at ;",
         "<meta http-equiv=content-type "
         "content=\"text/html; charset=utf-8; x=y\">",
         "utf-8"},
        {"quoted charset in content",
         "<meta http-equiv=Content-Type "
         "content=\"text/html; charset='koi8-r'\">",
         "koi8-r"},
        {"charset attribute wins over content",
         "<meta http-equiv=Content-Type "
         "content=\"text/html; charset=koi8-r\" "
         "charset=utf-8>",
         "utf-8"},
        {"the first declaration counts", "<meta charset=koi8-r><meta charset=utf-8>", "koi8-r"},
        {"the first of two same attributes counts", "<meta charset=koi8-r charset=utf-8>",
         "koi8-r"},
        {"an empty label is passed over", "<meta charset=\"\"><meta charset=koi8-r>", "koi8-r"},
        {"XML declaration", "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<html>",
         "windows-1251"},
        {"meta wins over the XML declaration",
         "<?xml version='1.0' encoding='utf-8'?><html><meta charset=koi8-r>", "koi8-r"},
        {"a tag that begins in the first 1024 bytes is read whole",
         filler + "<meta name=description content=\"" + std::string(100, 'y') +
             "\" charset=koi8-r>",
         "koi8-r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(DeclaredHtmlCharset(c.bytes), c.charset);
    }
}

TEST(HtmlCharset, WhatIsNotADeclaration) {
    struct Case {
        const char* label;
        std::string bytes;
    };
    const Case cases[] = {
        {"nothing", ""},
        {"a page without one", "<html><head><title>x</title></head><body>text</body></html>"},
        {"in a comment", "<!-- <meta charset=koi8-r> --><p>"},
        {"in a comment that looks closed too soon", "<!--> <meta charset=koi8-r> -->"},
        {"in an unclosed comment", "<!-- <meta charset=koi8-r>"},
        {"in another tag's attribute", "<a title=\"<meta charset=koi8-r>\">x</a>"},
        {"in body text", "<p>Save it with charset=utf-8 please</p>"},
        {"a tag beginning META", "<metadata charset=koi8-r>"},
        {"content without http-equiv", "<meta content=\"text/html; charset=koi8-r\">"},
        {"another http-equiv", "<meta http-equiv=refresh content=\"0; charset=koi8-r\">"},
        {"content without a charset", "<meta http-equiv=Content-Type content=text/html>"},
        {"unclosed quote in content",
         "<meta http-equiv=Content-Type content=\"text/html; charset='koi8-r\">"},
        {"after the first 1024 bytes",
         "<html><body>" + std::string(1100, 'x') + "<meta charset=koi8-r>"},
        {"a comment that runs past the first 1024 bytes",
         "<!--" + std::string(1100, 'x') + "--><meta charset=koi8-r>"},
        {"XML declaration not at the start", " <?xml version=\"1.0\" encoding=\"koi8-r\"?>"},
        {"a processing instruction is skipped", "<?php echo '<meta charset=koi8-r>' ?>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(DeclaredHtmlCharset(c.bytes), std::nullopt);
    }
}

}  // namespace
