#include "appsupport/TAppIni.h"

#include "appsupport/SettingsFolder.h"

namespace appsupport {

TAppIni::TAppIni()
    : FileName(SettingsFilePath(QStringLiteral("Mirabek"), QStringLiteral("editorprop.ini")))
{
    CreateFolderOf(FileName);
}

}  // namespace appsupport
