#include "appsupport/SettingsFolder.h"

#include "appsupport/TSpecialFolder.h"

#include <QDir>
#include <QFileInfo>

namespace appsupport {

QString SettingsFilePath(const QString& program, const QString& fileName)
{
    QString path = GetSpecialFolderPath(SpecialFolderAppData);
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path + QStringLiteral("Kestrino/") + program + QLatin1Char('/') + fileName;
}

void CreateFolderOf(const QString& filePath)
{
    QDir().mkpath(QFileInfo(filePath).path());
}

}  // namespace appsupport
