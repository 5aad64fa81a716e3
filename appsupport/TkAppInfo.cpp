#include "appsupport/TkAppInfo.h"

#include "platform/Exception.h"

#include <array>

namespace appsupport {

// Defined by the source that kestrino_version_info() generates for a program. The weak
// reference leaves it null in an executable built without one.
extern const VersionBlock ExecutableVersionBlock __attribute__((weak));

namespace {

constexpr std::array<const char16_t*, 11> ValueNames = {
    u"Comments",        u"CompanyName",      u"FileDescription", u"FileVersion",
    u"InternalName",    u"LegalCopyright",   u"LegalTradeMarks", u"OriginalFilename",
    u"PrivateBuild",    u"ProductName",      u"ProductVersion",
};

const VersionBlock& RunningExecutableBlock()
{
    const VersionBlock* block = &ExecutableVersionBlock;
    if (block == nullptr)
        throw platform::Exception(QStringLiteral("バージョン情報を取得できません"));
    return *block;
}

QString Hex4(std::uint32_t value)
{
    return QStringLiteral("%1").arg(value & 0xFFFFu, 4, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

TkAppInfo::TkAppInfo()
    : TkAppInfo(RunningExecutableBlock())
{
}

TkAppInfo::TkAppInfo(const VersionBlock& block)
    : Translation(block.translation)
    , VersionData(&block)
{
}

QString TkAppInfo::GetValue(TVersionValue kind) const
{
    const auto index = static_cast<std::size_t>(kind);
    if (index >= ValueNames.size())
        return QString();
    const QString subBlock = QStringLiteral("\\StringFileInfo\\") + Hex4(Translation) + Hex4(Translation >> 16)
        + QLatin1Char('\\') + QString::fromUtf16(ValueNames[index]);
    for (std::size_t i = 0; i < VersionData->count; ++i) {
        const VersionString& entry = VersionData->strings[i];
        if (QString::fromUtf16(entry.subBlock) == subBlock)
            return QString::fromUtf16(entry.value);
    }
    return QString();
}

}  // namespace appsupport
