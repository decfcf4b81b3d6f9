#include "text/LoadError.h"

#include <gtest/gtest.h>

namespace {

// Every load, a text file's or a book's, tells its failure through the one
// message its error has: the book errors their own, the file errors the
// file messages.
TEST(LoadError, EachFailureHasItsMessage) {
    struct Case {
        LoadError error;
        MessageCode message;
    };
    const Case cases[] = {
        {LoadError::OpenFailed, MessageCode::MSG_FILE_OPEN_FAILED},
        {LoadError::TooLarge, MessageCode::MSG_FILE_TOO_LARGE},
        {LoadError::BookTooLarge, MessageCode::MSG_BOOK_TOO_LARGE},
        {LoadError::Damaged, MessageCode::MSG_BOOK_DAMAGED},
        {LoadError::Encrypted, MessageCode::MSG_BOOK_ENCRYPTED},
        {LoadError::NoText, MessageCode::MSG_BOOK_NO_TEXT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.error));
        EXPECT_EQ(LoadErrorMessage(c.error), c.message);
    }
}

}  // namespace
