#pragma once

#include <string>

#include "settings/ReaderSettings.h"

// Owns the one ReaderSettings record of the run and the settings file behind
// it. Every part of the program reads and writes the record's fields directly;
// the file is written at first start, as the window closes, and when the
// holder is destroyed at program end if start-up asked for it and nothing has
// written it since (SetSaveOnExit).
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

    // Reads the file into the record; fields beyond the end of a short file,
    // and fields holding what the program never writes, take the first-run
    // values for this screen. False when the file is
    // missing, cannot be read, or is not a regular file (a folder, a pipe):
    // Save then refuses to replace such a thing, so start-up reports it as
    // a settings file that cannot be created.
    bool Load(int screenWidth, int screenHeight);
    // Fills the record with the first-run values for this screen and writes it.
    bool CreateDefaults(int screenWidth, int screenHeight);
    // Replaces the file with the record; the old file stays whole on failure.
    bool Save() const;

private:
    std::string path_;
    bool saveOnExit_ = false;
};
