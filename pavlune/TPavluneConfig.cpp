#include "pavlune/TPavluneConfig.h"

#include "appsupport/SettingsFolder.h"
#include "pavlune/TaskTypes.h"
#include "platform/Exception.h"
#include "platform/MemIniFile.h"
#include "platform/TextFile.h"

#include <QFile>
#include <QFileInfo>

namespace pavlune {

namespace {

const QString EntrySectionPrefix = QStringLiteral("KEY_CONFIG_");
const QString StartupSection = QStringLiteral("STARTUP");

QString EntrySection(std::size_t position)
{
    return EntrySectionPrefix + QString::number(position);
}

QString DefaultCaption(std::int32_t taskType)
{
    // No name exists for a task type outside the table; the caption stays empty.
    if (taskType < 0 || taskType >= TaskTypeCount)
        return QString();
    return TaskTypeTexts[static_cast<std::size_t>(taskType)].Name.toString();
}

TPavluneKeyConfig ReadEntry(const platform::MemIniFile& ini, const QString& section, std::size_t position)
{
    const auto taskType = ini.ReadInteger(section, QStringLiteral("TASKTYPE"), static_cast<int>(position % TaskTypeCount));
    const bool shift = ini.ReadBool(section, QStringLiteral("SHIFT"), false);
    const bool ctrl = ini.ReadBool(section, QStringLiteral("CTRL"), false);
    const bool alt = ini.ReadBool(section, QStringLiteral("ALT"), false);
    const bool enabled = ini.ReadBool(section, QStringLiteral("ENABLED"), false);
    const auto key = static_cast<std::uint16_t>(ini.ReadInteger(section, QStringLiteral("KEY"), 0) & 0xFFFF);
    const QString caption = ini.ReadString(section, QStringLiteral("CAPTION"), DefaultCaption(taskType));
    const auto target = ini.ReadInteger(section, QStringLiteral("TARGET"), tgAll);
    return TPavluneKeyConfig(taskType, shift, ctrl, alt, key, enabled, caption, target);
}

void WriteEntry(platform::MemIniFile& ini, const QString& section, const TPavluneKeyConfig& entry)
{
    ini.WriteInteger(section, QStringLiteral("TASKTYPE"), entry.TaskType);
    ini.WriteBool(section, QStringLiteral("SHIFT"), entry.Shift);
    ini.WriteBool(section, QStringLiteral("CTRL"), entry.Ctrl);
    ini.WriteBool(section, QStringLiteral("ALT"), entry.Alt);
    ini.WriteBool(section, QStringLiteral("ENABLED"), entry.IsEnabled());
    ini.WriteInteger(section, QStringLiteral("KEY"), entry.Key);
    ini.WriteString(section, QStringLiteral("CAPTION"), entry.Caption);
    ini.WriteInteger(section, QStringLiteral("TARGET"), entry.Target);
}

// "Pavlune.ini.bak", or "Pavlune.ini.bak2", ... so that an earlier copy is never replaced.
QString FreeBackupName(const QString& fileName)
{
    QString candidate = fileName + QStringLiteral(".bak");
    for (int number = 2; QFileInfo::exists(candidate); ++number)
        candidate = fileName + QStringLiteral(".bak") + QString::number(number);
    return candidate;
}

}  // namespace

TPavluneConfig::TPavluneConfig()
    : FileName(appsupport::SettingsFilePath(QStringLiteral("Pavlune"), QStringLiteral("Pavlune.ini")))
{
    appsupport::CreateFolderOf(FileName);
}

void TPavluneConfig::Load()
{
    SetDefault();
    loadWarning_.clear();
    keepOldFile_ = false;
    if (!QFileInfo::exists(FileName))
        return;
    KeyConfigs.clear();

    // Until the file has been taken in whole, a Save must not replace it unseen.
    keepOldFile_ = true;
    const platform::MemIniFile ini(FileName);
    const bool undecodable = ini.WasLossy();

    for (std::size_t position = 0;; ++position) {
        const QString section = EntrySection(position);
        if (!ini.SectionExists(section))
            break;
        KeyConfigs.push_back(ReadEntry(ini, section, position));
    }
    Minimized = ini.ReadBool(StartupSection, QStringLiteral("Minimized"), false);

    // Entry sections the numbering did not reach (after a gap, or oddly numbered).
    bool entriesLeftOut = false;
    const QStringList sections = ini.ReadSections();
    for (const QString& section : sections) {
        if (!section.startsWith(EntrySectionPrefix, Qt::CaseInsensitive))
            continue;
        bool loaded = false;
        for (std::size_t position = 0; position < KeyConfigs.size() && !loaded; ++position)
            loaded = section.compare(EntrySection(position), Qt::CaseInsensitive) == 0;
        entriesLeftOut = entriesLeftOut || !loaded;
    }

    keepOldFile_ = undecodable || entriesLeftOut;
    if (keepOldFile_) {
        const QString reason = undecodable ? QStringLiteral("文字コードを判別できない部分があります")
                                           : QStringLiteral("番号が飛んでいるため読み込めなかったキー設定があります");
        loadWarning_ = QStringLiteral("設定ファイル「%1」に%2。次に設定を保存するとき、元のファイルは同じフォルダーに"
                                      "「%3」などの名前で残します。")
                           .arg(FileName, reason, QFileInfo(FileName).fileName() + QStringLiteral(".bak"));
    }
}

void TPavluneConfig::Save()
{
    platform::MemIniFile ini(FileName);
    ini.Clear();
    for (std::size_t position = 0; position < KeyConfigs.size(); ++position)
        WriteEntry(ini, EntrySection(position), KeyConfigs[position]);
    ini.WriteBool(StartupSection, QStringLiteral("Minimized"), Minimized);

    if (keepOldFile_)
        KeepOldFileAside();
    ini.UpdateFile();
}

void TPavluneConfig::KeepOldFileAside()
{
    if (QFileInfo::exists(FileName)) {
        const QString backup = FreeBackupName(FileName);
        QFile old(FileName);
        if (!old.copy(backup)) {
            throw platform::Exception(
                QStringLiteral("設定ファイル「%1」の控えを「%2」に作れなかったため、設定を保存しませんでした。\n%3")
                    .arg(FileName, backup, old.errorString()));
        }
    }
    keepOldFile_ = false;
}

void TPavluneConfig::SetDefault()
{
    KeyConfigs.clear();
    // Task types 0 to 9: Ctrl and the digits 1, 2, ..., 9, 0; then two with Shift and Ctrl.
    for (std::int32_t taskType = ttHiragana; taskType <= ttUrlDecode; ++taskType) {
        const auto key = static_cast<std::uint16_t>(0x30 + (taskType + 1) % 10);
        KeyConfigs.emplace_back(taskType, false, true, false, key, true, DefaultCaption(taskType), tgAll);
    }
    KeyConfigs.emplace_back(ttKanaFullWidth, true, true, false, 0x31, true, DefaultCaption(ttKanaFullWidth), tgAll);
    KeyConfigs.emplace_back(ttCapitalize, true, true, false, 0x32, true, DefaultCaption(ttCapitalize), tgAll);
    Minimized = false;
}

}  // namespace pavlune
