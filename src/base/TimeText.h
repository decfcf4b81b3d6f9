#pragma once

#include <QString>
#include <cstdint>

// A length of time as the reader is told it: in seconds under a minute, else
// in minutes, rounded, and from an hour on in hours and minutes.
QString TimeText(std::int64_t ms);
