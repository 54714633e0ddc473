#pragma once

#include <optional>

namespace plumeo {

// When the updater looks for a release by itself, at launch.
namespace UpdateSchedule {

// Whether to check now, nowSeconds and lastCheckSeconds being seconds since 1970 UTC: never when
// automatic checks are off; always when no earlier check is known (nothing stored, or a value
// ≤ 0); otherwise once a full interval has passed since the last check.
//
// A last check stored in the future cannot be a real check: it comes from a clock that was wrong
// when it was stored. It counts as unknown, so a check happens now and stores a true time;
// taking it at its word would stop automatic checks until the clock reached that date, possibly
// for years.
bool shouldAutoCheck(bool autoCheckEnabled,
                     std::optional<double> lastCheckSeconds,
                     double nowSeconds,
                     double intervalSeconds);

} // namespace UpdateSchedule

} // namespace plumeo
