#pragma once

#include <atomic>
#include <cstddef>

#include "books/BookText.h"

// What a book load shares between the thread that reads the book and the
// window that waits for it: how many parts of how many are done, and whether
// the user asked to stop. Every member may be called from either thread.
class LoadProgress {
public:
    // The reader's progress callback: records the count, and says to stop
    // once Cancel has been called. The callback refers to this object.
    BookProgress Callback();
    void Cancel() { cancelled_ = true; }
    bool Cancelled() const { return cancelled_; }
    std::size_t Done() const { return done_; }
    std::size_t Total() const { return total_; }

private:
    std::atomic<std::size_t> done_{0};
    std::atomic<std::size_t> total_{0};
    std::atomic<bool> cancelled_{false};
};
