#pragma once

#include <QString>

namespace plumeo {

// Joins strings and string views into one QString with a single allocation (Qt 6.4 has no operator+
// between QString and QStringView).
template <typename... Parts> QString concat(const Parts &...parts)
{
    QString result;
    result.reserve((QStringView(parts).size() + ... + 0));
    (result.append(QStringView(parts)), ...);
    return result;
}

} // namespace plumeo
