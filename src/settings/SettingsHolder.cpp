#include "settings/SettingsHolder.h"

#include "base/SafeFileWriter.h"

SettingsHolder::~SettingsHolder() {
    // Nobody is left to tell about a failed write at program end.
    if (saveOnExit_) Save();
}

bool SettingsHolder::Load() {
    const auto bytes = ReadWholeFile(path_);
    if (!bytes) return false;
    settings = ParseSettings(*bytes);
    return true;
}

bool SettingsHolder::CreateDefaults(int screenWidth, int screenHeight) {
    settings = DefaultSettings(screenWidth, screenHeight);
    return Save();
}

bool SettingsHolder::Save() const { return WriteFileSafely(path_, SerializeSettings(settings)); }
