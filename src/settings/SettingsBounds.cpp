#include "settings/SettingsBounds.h"

#include <algorithm>

int BoundedPaneHeight(std::int32_t stored, int screenHeight) {
    return std::clamp<int>(stored, 0, std::max(screenHeight, 0));
}

int BoundedClickStep(std::int32_t stored) { return std::clamp<int>(stored, 1, 5); }
