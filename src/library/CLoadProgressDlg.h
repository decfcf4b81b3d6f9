#pragma once

#include <functional>

#include "books/BookText.h"
#include "text/DocumentLoader.h"

class QWidget;

// A load run on a worker thread while the caller waits in a local event
// loop, so that the window keeps painting and the call stays synchronous for
// its callers. The first half second takes no input (a quick load looks like
// any other); a load still running then shows a modal progress dialog with
// the parts done and "Отмена", which asks the load to stop: it ends as
// Cancelled.
using ProgressLoad = std::function<LoadedText(const BookProgress& progress)>;
LoadedText RunLoadWithProgress(QWidget* parent, const ProgressLoad& load);

// How long a load runs before the dialog shows, in milliseconds.
inline constexpr int kLoadProgressDelayMs = 500;
