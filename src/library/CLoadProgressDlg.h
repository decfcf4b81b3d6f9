#pragma once

#include <functional>

#include "books/BookText.h"
#include "text/DocumentLoader.h"

class QWidget;

// A load run on a worker thread while the caller waits in a local event
// loop, so that the window keeps painting and the call stays synchronous for
// its callers. The first half second takes no input (a quick load looks like
// any other); a load still running then shows a modal progress dialog with
// the parts done and "Отмена". Cancel returns at once as Cancelled: the load
// is asked to stop and abandoned. A reader may be deep inside a library that
// cannot be stopped (poppler parsing a huge file), so nothing waits for it;
// it finishes in the background into memory of its own and its result is
// dropped. `load` is copied there, so it must not refer to the caller's locals.
using ProgressLoad = std::function<LoadedText(const BookProgress& progress)>;
LoadedText RunLoadWithProgress(QWidget* parent, ProgressLoad load);

// An abandoned load is still running: the process must not wait for it at
// exit, nor tear down the libraries it is inside of.
bool AbandonedLoadRunning();

// How long a load runs before the dialog shows, in milliseconds.
inline constexpr int kLoadProgressDelayMs = 500;
