#include "books/LoadProgress.h"

BookProgress LoadProgress::Callback() {
    return [this](std::size_t done, std::size_t total) {
        if (total > 0) {
            total_ = total;
            done_ = done;
        }
        return !cancelled_;
    };
}
