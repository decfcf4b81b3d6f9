#pragma once

// A window or screen rectangle in device-independent pixels.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ScreenRect&) const = default;
};

// The saved window rectangle made to lie wholly inside the screen's available
// area: shrunk to the area's size, then moved inside it. A rectangle saved on
// a larger screen, at another scale factor or with a screen now gone thus
// never opens off-screen. A size of 0 or less (a damaged file) takes the
// whole area; an empty area (no screen known) leaves the rectangle alone.
ScreenRect FitIntoArea(ScreenRect saved, ScreenRect area);
