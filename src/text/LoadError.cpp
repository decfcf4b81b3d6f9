#include "text/LoadError.h"

MessageCode LoadErrorMessage(LoadError error) {
    switch (error) {
        case LoadError::None:
        case LoadError::OpenFailed: return MessageCode::MSG_FILE_OPEN_FAILED;
        case LoadError::TooLarge: return MessageCode::MSG_FILE_TOO_LARGE;
        case LoadError::BookTooLarge: return MessageCode::MSG_BOOK_TOO_LARGE;
        case LoadError::Damaged: return MessageCode::MSG_BOOK_DAMAGED;
        case LoadError::Encrypted: return MessageCode::MSG_BOOK_ENCRYPTED;
        case LoadError::NoText: return MessageCode::MSG_BOOK_NO_TEXT;
        case LoadError::Cancelled: return MessageCode::MSG_FILE_OPEN_FAILED;
    }
    return MessageCode::MSG_FILE_OPEN_FAILED;
}
