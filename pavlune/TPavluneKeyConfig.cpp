#include "pavlune/TPavluneKeyConfig.h"

#include "pavlune/KeyNames.h"

namespace pavlune {

TPavluneKeyConfig::TPavluneKeyConfig(std::int32_t taskType, bool shift, bool ctrl, bool alt, std::uint16_t key,
                                     bool enabled, const QString& caption, std::int32_t target)
    : Shift(shift)
    , Ctrl(ctrl)
    , Alt(alt)
    , Key(IsKeyMapCode(key) ? key : 0)
    , Enabled(enabled)
    , TaskType(taskType)
    , Caption(caption)
    , KeyText(MakeKeyText(shift, ctrl, alt, Key))
    , Target(target)
{
}

}  // namespace pavlune
