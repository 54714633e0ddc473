#pragma once

#include "text/Localization.h"
#include "update/UpdaterError.h"

#include <ostream>

#include <QTest>

// Runs the event loop until done is true or ten seconds have passed (a hung test, not a timing
// assertion).
template <typename Predicate> bool waitUntil(Predicate done)
{
    return QTest::qWaitFor(done, 10'000);
}

// Shows texts in language for the life of the object.
class LanguageScope
{
public:
    explicit LanguageScope(plumeo::AppLanguage language)
        : m_previous(plumeo::Localization::current())
    {
        plumeo::Localization::setCurrent(language);
    }
    ~LanguageScope() { plumeo::Localization::setCurrent(m_previous); }

private:
    plumeo::AppLanguage m_previous;
};

namespace plumeo {
inline void PrintTo(const UpdaterError &error, std::ostream *os)
{
    *os << "UpdaterError(" << int(error.kind()) << ", \"" << error.text().toStdString() << "\", "
        << error.httpStatus() << ", \"" << error.expected().toStdString() << "\", \""
        << error.actual().value_or(QStringLiteral("<none>")).toStdString() << "\")";
}
} // namespace plumeo
