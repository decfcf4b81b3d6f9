#pragma once

#include <optional>
#include <string>

#include "text/CompactText.h"

class QMimeData;

// The text a clipboard holds, in the first form it can be read in: plain
// text (in the charset its type names, UTF-8 when it names none), else a web
// page's HTML converted to text as an HTML document is. None when the
// clipboard holds no text at all (an image, a file list).
std::optional<CompactText> ClipboardContent(const QMimeData* data);
