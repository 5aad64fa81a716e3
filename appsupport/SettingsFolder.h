#pragma once

#include <QString>

namespace appsupport {

// Where a program keeps a settings file: the configuration folder (special folder 1),
// a "/" unless it already ends in one, then "Kestrino/<program>/<fileName>".
QString SettingsFilePath(const QString& program, const QString& fileName);

// Creates the folder that holds a file, with every missing parent. Whether that worked
// is deliberately not reported: a missing folder shows up when the file is written.
void CreateFolderOf(const QString& filePath);

}  // namespace appsupport
