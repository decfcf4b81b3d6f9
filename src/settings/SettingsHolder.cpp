#include "settings/SettingsHolder.h"

#include "base/SafeFileWriter.h"
#include "settings/SettingsBounds.h"

SettingsHolder::~SettingsHolder() {
    // Nobody is left to tell about a failed write at program end.
    if (saveOnExit_) Save();
}

bool SettingsHolder::Load(int screenWidth, int screenHeight) {
    // Checked first so that a pipe named lmn.dat is never opened: that would
    // wait for a writer forever.
    if (!IsRegularFile(path_)) return false;
    // Nothing past the record is ever used, however long the file.
    const auto bytes = ReadFileUpTo(path_, ReaderSettings::kFileSize);
    if (!bytes) return false;
    const ReaderSettings defaults = DefaultSettings(screenWidth, screenHeight);
    settings = WithinProgramRanges(ParseSettings(*bytes, defaults), defaults);
    return true;
}

bool SettingsHolder::CreateDefaults(int screenWidth, int screenHeight) {
    settings = DefaultSettings(screenWidth, screenHeight);
    return Save();
}

bool SettingsHolder::Save() const { return WriteFileSafely(path_, SerializeSettings(settings)); }
