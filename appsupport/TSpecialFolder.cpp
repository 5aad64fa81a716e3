#include "appsupport/TSpecialFolder.h"

#include "platform/Exception.h"

#include <QDir>
#include <QStandardPaths>
#include <QStringList>

#include <array>

namespace appsupport {

namespace {

constexpr std::array<int, SpecialFolderCount> CsidlValues = {
    0x1D,  // CSIDL_ALTSTARTUP
    0x1A,  // CSIDL_APPDATA
    0x0A,  // CSIDL_BITBUCKET
    0x1E,  // CSIDL_COMMON_ALTSTARTUP
    0x19,  // CSIDL_COMMON_DESKTOPDIRECTORY
    0x1F,  // CSIDL_COMMON_FAVORITES
    0x17,  // CSIDL_COMMON_PROGRAMS
    0x16,  // CSIDL_COMMON_STARTMENU
    0x18,  // CSIDL_COMMON_STARTUP
    0x03,  // CSIDL_CONTROLS
    0x21,  // CSIDL_COOKIES
    0x00,  // CSIDL_DESKTOP
    0x10,  // CSIDL_DESKTOPDIRECTORY
    0x11,  // CSIDL_DRIVES
    0x06,  // CSIDL_FAVORITES
    0x14,  // CSIDL_FONTS
    0x22,  // CSIDL_HISTORY
    0x01,  // CSIDL_INTERNET
    0x20,  // CSIDL_INTERNET_CACHE
    0x13,  // CSIDL_NETHOOD
    0x12,  // CSIDL_NETWORK
    0x05,  // CSIDL_PERSONAL
    0x04,  // CSIDL_PRINTERS
    0x1B,  // CSIDL_PRINTHOOD
    0x02,  // CSIDL_PROGRAMS
    0x08,  // CSIDL_RECENT
    0x09,  // CSIDL_SENDTO
    0x0B,  // CSIDL_STARTMENU
    0x07,  // CSIDL_STARTUP
    0x15,  // CSIDL_TEMPLATES
};

QString CleanOrEmpty(const QString& path)
{
    return path.isEmpty() ? QString() : QDir::cleanPath(path);
}

// The XDG rule: an absolute value of the variable, else the fallback under the home folder.
QString XdgHome(const char* variable, const QString& fallbackUnderHome)
{
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::cleanPath(QDir::homePath() + QLatin1Char('/') + fallbackUnderHome);
}

// The first entry of a system-wide XDG search path ($XDG_CONFIG_DIRS, $XDG_DATA_DIRS).
QString FirstXdgDir(const char* variable, const QString& fallback)
{
    const QStringList dirs = qEnvironmentVariable(variable).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& dir : dirs) {
        if (QDir::isAbsolutePath(dir))
            return QDir::cleanPath(dir);
    }
    return fallback;
}

QString Writable(QStandardPaths::StandardLocation location)
{
    return CleanOrEmpty(QStandardPaths::writableLocation(location));
}

}  // namespace

int SpecialFolderToCsidl(int index)
{
    if (index < 0 || index >= SpecialFolderCount)
        throw platform::Exception(QStringLiteral("指定されたコードが見つかりません。"));
    return CsidlValues[static_cast<std::size_t>(index)];
}

QString GetSpecialFolderPath(int index)
{
    const QString configHome = XdgHome("XDG_CONFIG_HOME", QStringLiteral(".config"));
    switch (SpecialFolderToCsidl(index)) {
    case 0x1A:  // CSIDL_APPDATA
        return configHome;
    case 0x1D:  // CSIDL_ALTSTARTUP
    case 0x07:  // CSIDL_STARTUP
        return configHome + QStringLiteral("/autostart");
    case 0x1E:  // CSIDL_COMMON_ALTSTARTUP
    case 0x18:  // CSIDL_COMMON_STARTUP
        return FirstXdgDir("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg")) + QStringLiteral("/autostart");
    case 0x17:  // CSIDL_COMMON_PROGRAMS
    case 0x16:  // CSIDL_COMMON_STARTMENU
        return FirstXdgDir("XDG_DATA_DIRS", QStringLiteral("/usr/local/share")) + QStringLiteral("/applications");
    case 0x02:  // CSIDL_PROGRAMS
    case 0x0B:  // CSIDL_STARTMENU
        return XdgHome("XDG_DATA_HOME", QStringLiteral(".local/share")) + QStringLiteral("/applications");
    case 0x14:  // CSIDL_FONTS
        return XdgHome("XDG_DATA_HOME", QStringLiteral(".local/share")) + QStringLiteral("/fonts");
    case 0x20:  // CSIDL_INTERNET_CACHE
        return XdgHome("XDG_CACHE_HOME", QStringLiteral(".cache"));
    case 0x00:  // CSIDL_DESKTOP
    case 0x10:  // CSIDL_DESKTOPDIRECTORY
        return Writable(QStandardPaths::DesktopLocation);
    case 0x05:  // CSIDL_PERSONAL
        return Writable(QStandardPaths::DocumentsLocation);
    case 0x15:  // CSIDL_TEMPLATES
        return Writable(QStandardPaths::TemplatesLocation);
    default:
        // Virtual folders (recycle bin, printers, network, ...) and folders the desktop
        // has no counterpart for (favorites, cookies, history, send to, ...).
        return QString();
    }
}

}  // namespace appsupport
