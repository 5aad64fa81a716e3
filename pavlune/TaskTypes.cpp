#include "pavlune/TaskTypes.h"

namespace pavlune {

std::vector<std::int32_t> GetValidTargets(std::int32_t taskType)
{
    if (taskType == ttFullWidth || taskType == ttHalfWidth)
        return {tgAll, tgAlpha, tgDigit, tgAlphaNumeric};
    return {tgAll};
}

}  // namespace pavlune
