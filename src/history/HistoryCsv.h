#pragma once

#include <string>
#include <vector>

#include "history/ReadingRun.h"

// The runs as CSV text (RFC 4180): a header line, then one line per run, lines
// ending in CR LF, a field quoted when it holds a comma, a quote or a line break.
std::string RunsToCsv(const std::vector<ReadingRun>& runs);
// One field as RFC 4180 writes it.
std::string CsvField(const std::string& text);
// A Unix time in milliseconds as ISO 8601 UTC, e.g. 2026-12-07T22:37:47Z.
std::string UtcTimeText(std::int64_t unixMs);
