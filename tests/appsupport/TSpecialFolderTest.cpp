#include "appsupport/TAppIni.h"
#include "appsupport/SettingsFolder.h"
#include "appsupport/TSpecialFolder.h"
#include "platform/Exception.h"
#include "XdgSandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace appsupport;

TEST(SpecialFolderToCsidl, MapsTheIndexTableAndRejectsOtherIndexes)
{
    EXPECT_EQ(SpecialFolderToCsidl(0), 0x1D);
    EXPECT_EQ(SpecialFolderToCsidl(1), 0x1A);
    EXPECT_EQ(SpecialFolderToCsidl(11), 0x00);
    EXPECT_EQ(SpecialFolderToCsidl(21), 0x05);
    EXPECT_EQ(SpecialFolderToCsidl(29), 0x15);
    for (int index : {-1, 30, 1000}) {
        try {
            SpecialFolderToCsidl(index);
            ADD_FAILURE() << "no exception for index " << index;
        } catch (const platform::Exception& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("指定されたコードが見つかりません。"));
        }
    }
    EXPECT_THROW(GetSpecialFolderPath(30), platform::Exception);
}

TEST(GetSpecialFolderPath, ConfigFolderFollowsTheXdgRule)
{
    XdgSandbox sandbox;
    const QString fallback = sandbox.Home() + QStringLiteral("/.config");
    struct Case {
        const char* value;  // nullptr: unset
        QString expected;
    };
    const Case cases[] = {
        {"/srv/conf", QStringLiteral("/srv/conf")},
        {"/srv/conf/", QStringLiteral("/srv/conf")},  // no trailing slash
        {"/srv//conf/./x/..", QStringLiteral("/srv/conf")},
        {"relative/conf", fallback},  // only an absolute path counts
        {"", fallback},
        {nullptr, fallback},
    };
    for (const Case& c : cases) {
        if (c.value)
            sandbox.Set("XDG_CONFIG_HOME", QString::fromUtf8(c.value));
        else
            sandbox.Unset("XDG_CONFIG_HOME");
        EXPECT_EQ(GetSpecialFolderPath(SpecialFolderAppData), c.expected) << (c.value ? c.value : "(unset)");
    }
}

TEST(GetSpecialFolderPath, OtherIndexesGiveTheirXdgCounterpartOrNothing)
{
    XdgSandbox sandbox;
    sandbox.Set("XDG_DATA_DIRS", QStringLiteral("/opt/share:/usr/share"));
    sandbox.Unset("XDG_CONFIG_DIRS");
    // xdg-user-dirs places the desktop, documents and templates.
    QFile userDirs(sandbox.ConfigHome() + QStringLiteral("/user-dirs.dirs"));
    ASSERT_TRUE(userDirs.open(QIODevice::WriteOnly));
    userDirs.write("XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
                   "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n"
                   "XDG_TEMPLATES_DIR=\"$HOME/Vorlagen\"\n");
    userDirs.close();

    const QString home = sandbox.Home();
    const QString config = sandbox.ConfigHome();
    const QString data = sandbox.Root() + QStringLiteral("/data");
    const std::pair<int, QString> cases[] = {
        {0, config + QStringLiteral("/autostart")},
        {28, config + QStringLiteral("/autostart")},
        {3, QStringLiteral("/etc/xdg/autostart")},
        {6, QStringLiteral("/opt/share/applications")},
        {24, data + QStringLiteral("/applications")},
        {11, home + QStringLiteral("/Schreibtisch")},
        {12, home + QStringLiteral("/Schreibtisch")},
        {21, home + QStringLiteral("/Dokumente")},
        {29, home + QStringLiteral("/Vorlagen")},
        {15, data + QStringLiteral("/fonts")},
        {18, sandbox.Root() + QStringLiteral("/cache")},
        {2, QString()},   // recycle bin: virtual
        {13, QString()},  // drives: virtual
        {14, QString()},  // favorites: no counterpart
        {22, QString()},  // printers: virtual
    };
    for (const auto& [index, expected] : cases)
        EXPECT_EQ(GetSpecialFolderPath(index), expected) << "index " << index;
}

TEST(SettingsFilePath, AppendsASlashOnlyWhenMissing)
{
    XdgSandbox sandbox;
    EXPECT_EQ(SettingsFilePath(QStringLiteral("Pavlune"), QStringLiteral("Pavlune.ini")),
              sandbox.ConfigHome() + QStringLiteral("/Kestrino/Pavlune/Pavlune.ini"));
    sandbox.Set("XDG_CONFIG_HOME", QStringLiteral("/"));
    EXPECT_EQ(SettingsFilePath(QStringLiteral("Mirabek"), QStringLiteral("mirabek.ini")),
              QStringLiteral("/Kestrino/Mirabek/mirabek.ini"));
}

TEST(TAppIni, CreatesTheFolderChainAndGivesTheSamePathEachTime)
{
    XdgSandbox sandbox;
    const QString config = sandbox.ConfigHome() + QStringLiteral("/fresh");
    sandbox.Set("XDG_CONFIG_HOME", config);
    ASSERT_FALSE(QFileInfo::exists(config));

    const TAppIni first;
    EXPECT_EQ(first.FileName, config + QStringLiteral("/Kestrino/Mirabek/editorprop.ini"));
    EXPECT_TRUE(QFileInfo(config + QStringLiteral("/Kestrino")).isDir());
    EXPECT_TRUE(QFileInfo(config + QStringLiteral("/Kestrino/Mirabek")).isDir());
    EXPECT_FALSE(QFileInfo::exists(first.FileName));  // the folder only, not the file

    EXPECT_EQ(TAppIni().FileName, first.FileName);
}

TEST(TAppIni, GoesOnWhenTheFolderCannotBeCreated)
{
    XdgSandbox sandbox;
    QFile blocker(sandbox.ConfigHome() + QStringLiteral("/Kestrino"));  // a file where the folder belongs
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    EXPECT_EQ(TAppIni().FileName, sandbox.ConfigHome() + QStringLiteral("/Kestrino/Mirabek/editorprop.ini"));
}
