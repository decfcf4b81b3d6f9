#include "books/LoadProgress.h"

BookProgress LoadProgress::Callback() {
    return [this](std::size_t done, std::size_t total) {
        total_ = total;
        done_ = done;
        return !cancelled_;
    };
}
