#include "base/ProgramTexts.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgramTexts, MessagesByCode) {
    using enum MessageCode;
    EXPECT_EQ(MessageText(MSG_SETTINGS_FILE_FAILED), "Не удаётся создать информационный файл");
    EXPECT_EQ(MessageText(MSG_FILE_OPEN_FAILED), "Не удаётся открыть этот файл ");
    EXPECT_EQ(MessageText(MSG_FILE_TYPE_REJECTED),
              "Этот файл не может быть открыт.\nДопускаются только файлы следующих типов:\n"
              "*.txt, *.rtf, *html, *htm, *plg,\n*.fb2, *.fb2.zip, *.epub, *.pdf, *.docx, *.odt");
    EXPECT_EQ(MessageText(MSG_SHELF_UNAVAILABLE),
              "Не удаётся получить содержимое полки.\nНет доступа к диску");
    EXPECT_EQ(MessageText(MSG_DOCUMENT_NAME_EMPTY), "Нужно внести название документа");
    EXPECT_EQ(MessageText(MSG_NO_DOCUMENT_SELECTED), "Документ не выбран");
    EXPECT_EQ(MessageText(MSG_BOOKMARK_NAME_EMPTY), "Нужно дать закладке какое-нибудь название");
    EXPECT_EQ(MessageText(MSG_NO_BOOKMARK_SELECTED), "Закладка не выбрана");
    EXPECT_EQ(MessageText(MSG_TEXT_TOO_SMALL), "Поместить закладку нельзя - текст слишком мал.");
}

// Each reason a book cannot be read has a message of its own.
TEST(ProgramTexts, BookMessagesNameDifferentReasons) {
    using enum MessageCode;
    const MessageCode codes[] = {MSG_BOOK_DAMAGED,   MSG_BOOK_ENCRYPTED, MSG_BOOK_NO_TEXT,
                                 MSG_BOOK_TOO_LARGE, MSG_FILE_TOO_LARGE, MSG_FILE_OPEN_FAILED};
    for (const MessageCode a : codes) {
        EXPECT_FALSE(MessageText(a).empty());
        for (const MessageCode b : codes) {
            if (a != b) EXPECT_NE(MessageText(a), MessageText(b));
        }
    }
    EXPECT_EQ(MessageText(MSG_BOOK_ENCRYPTED),
              "Книга защищена (DRM или пароль) — её текст не прочесть.");
}

TEST(ProgramTexts, TitleNamesTheDocument) {
    EXPECT_EQ(WindowTitle(U""), "Orvek Lumeno");
    EXPECT_EQ(WindowTitle(U"Война и мир"), "Orvek Lumeno - Война и мир");
    EXPECT_EQ(WindowTitle(U"Gödel 日本 😀"), "Orvek Lumeno - Gödel 日本 😀");
}

TEST(ProgramTexts, ExecutableNameCheckIgnoresCaseOnly) {
    for (const char* good : {"lmn", "LMN", "Lmn"}) EXPECT_TRUE(IsProgramName(good)) << good;
    for (const char* bad : {"reader", "lmn2", "", "lmn.exe", " lmn"}) {
        EXPECT_FALSE(IsProgramName(bad)) << bad;
    }
}

}  // namespace
