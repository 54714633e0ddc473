#pragma once

#include <QString>

namespace plumeo {

// Reverse-DNS identifier of the application. Settings keys and signal names are this identifier
// followed by a fixed suffix, so that they never clash with another program's.
inline QString appIdentifier()
{
    return QStringLiteral("com.vantle.plumeo");
}

// appIdentifier() followed by suffix, e.g. appKey(u".language").
inline QString appKey(QStringView suffix)
{
    return appIdentifier().append(suffix);
}

} // namespace plumeo
