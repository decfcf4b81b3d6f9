#pragma once

#include <string>

#include "settings/ReaderSettings.h"

// Owns the one ReaderSettings record of the run and the settings file behind
// it. Every part of the program reads and writes the record's fields directly;
// the file is written at first start and once more when the holder is
// destroyed at program end, if start-up got far enough to ask for it.
class SettingsHolder {
public:
    SettingsHolder() = default;
    ~SettingsHolder();
    SettingsHolder(const SettingsHolder&) = delete;
    SettingsHolder& operator=(const SettingsHolder&) = delete;

    ReaderSettings settings;

    void SetPath(std::string path) { path_ = std::move(path); }
    const std::string& Path() const { return path_; }
    void SetSaveOnExit(bool save) { saveOnExit_ = save; }
    bool SaveOnExit() const { return saveOnExit_; }

    // Reads the file into the record; false when it cannot be opened.
    bool Load();
    // Fills the record with the first-run values for this screen and writes it.
    bool CreateDefaults(int screenWidth, int screenHeight);
    // Replaces the file with the record; the old file stays whole on failure.
    bool Save() const;

private:
    std::string path_;
    bool saveOnExit_ = false;
};
