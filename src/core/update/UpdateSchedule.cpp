#include "update/UpdateSchedule.h"

namespace plumeo::UpdateSchedule {

bool shouldAutoCheck(bool autoCheckEnabled,
                     std::optional<double> lastCheckSeconds,
                     double nowSeconds,
                     double intervalSeconds)
{
    if (!autoCheckEnabled)
        return false;
    if (!lastCheckSeconds || *lastCheckSeconds <= 0 || *lastCheckSeconds > nowSeconds)
        return true;
    return nowSeconds - *lastCheckSeconds >= intervalSeconds;
}

} // namespace plumeo::UpdateSchedule
