#pragma once

#include "pavlune/TPavluneKeyConfig.h"

#include <QString>

#include <vector>

namespace pavlune {

// Pavlune's settings: the ordered hotkey entries and the start-minimised flag, kept in
// <configuration folder>/Kestrino/Pavlune/Pavlune.ini.
class TPavluneConfig {
public:
    // Fixes the file's path and creates its folder; does not read the file.
    TPavluneConfig();

    // The file's entries and flag, or the twelve defaults when there is no file. Throws
    // platform::Exception when the file exists but cannot be read (the list is then empty).
    void Load();
    // Rewrites the whole file from this instance. When the last Load could not take in
    // all of the old file, the old file is first copied aside (see LoadWarning).
    void Save();
    void SetDefault();

    std::vector<TPavluneKeyConfig> GetKeyConfigs() const { return KeyConfigs; }
    void SetKeyConfigs(const std::vector<TPavluneKeyConfig>& keyConfigs) { KeyConfigs = keyConfigs; }
    bool GetMinimized() const { return Minimized; }
    void SetMinimized(bool minimized) { Minimized = minimized; }

    const QString& GetFileName() const { return FileName; }

    // Empty, or a message for the user when the last Load found entries it could not use
    // (entries after a gap in the numbering, text that could not be decoded) or could not
    // read the file; the next Save keeps a copy of the old file before replacing it.
    const QString& LoadWarning() const { return loadWarning_; }

private:
    void KeepOldFileAside();

    QString FileName;
    std::vector<TPavluneKeyConfig> KeyConfigs;
    bool Minimized = false;

    bool keepOldFile_ = false;
    QString loadWarning_;
};

}  // namespace pavlune
