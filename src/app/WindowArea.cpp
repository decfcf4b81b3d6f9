#include "app/WindowArea.h"

#include <algorithm>

namespace {

// One axis: the length capped at the room there is, the start moved so that
// the whole length fits.
void FitAxis(int& start, int& length, int areaStart, int areaLength) {
    length = length > 0 ? std::min(length, areaLength) : areaLength;
    start = std::clamp(start, areaStart, areaStart + (areaLength - length));
}

}  // namespace

ScreenRect FitIntoArea(ScreenRect saved, ScreenRect area) {
    if (area.width <= 0 || area.height <= 0) return saved;
    FitAxis(saved.left, saved.width, area.left, area.width);
    FitAxis(saved.top, saved.height, area.top, area.height);
    return saved;
}
