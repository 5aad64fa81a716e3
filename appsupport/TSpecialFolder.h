#pragma once

#include <QString>

namespace appsupport {

constexpr int SpecialFolderCount = 30;
constexpr int SpecialFolderAppData = 1;  // the per-user configuration folder

// The CSIDL value of a special-folder index (0 to 29, the CSIDL names in alphabetical
// order); any other index throws platform::Exception.
int SpecialFolderToCsidl(int index);

// The folder that stands for a special-folder index on this desktop, with "/" as the
// separator and no trailing slash, or the empty string when there is no such folder.
// Index 1 is $XDG_CONFIG_HOME when that is an absolute path, else ~/.config.
QString GetSpecialFolderPath(int index);

}  // namespace appsupport
