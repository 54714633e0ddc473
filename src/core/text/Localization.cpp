#include "text/Localization.h"

#include "base/AppIdentifier.h"
#include "text/UserDefaults.h"

#include <mutex>

#include <QCoreApplication>
#include <QLocale>

namespace plumeo {

LanguageSources LanguageSources::process()
{
    LanguageSources sources;
    sources.arguments = [] {
        return QCoreApplication::instance() ? QCoreApplication::arguments() : QStringList();
    };
    sources.environment = [](const char *name) -> std::optional<QString> {
        if (!qEnvironmentVariableIsSet(name))
            return std::nullopt;
        return qEnvironmentVariable(name);
    };
    sources.preferredLanguages = [] { return QLocale::system().uiLanguages(); };
    return sources;
}

namespace {

struct State
{
    std::mutex lock;
    std::optional<AppLanguage> current;
    LanguageSources sources = LanguageSources::process();
};

State &state()
{
    static State instance;
    return instance;
}

// Command line first, then the environment, then the stored choice.
AppLanguage initialValue(const LanguageSources &sources)
{
    const QStringList arguments = sources.arguments();
    const qsizetype at = arguments.indexOf(QStringLiteral("--lang"));
    if (at >= 0 && at + 1 < arguments.size()) {
        const QString value = arguments.at(at + 1).toLower();
        if (value.startsWith(u"en"))
            return AppLanguage::en;
        if (value.startsWith(u"fr"))
            return AppLanguage::fr;
        if (value == u"system")
            return AppLanguage::system;
    }
    if (const auto variable = sources.environment("VANTLE_LANG")) {
        const QString value = variable->toLower();
        if (value.startsWith(u"en"))
            return AppLanguage::en;
        if (value.startsWith(u"fr"))
            return AppLanguage::fr;
    }
    const auto stored = UserDefaults::standard().string(Localization::defaultsKey());
    if (stored == u"fr")
        return AppLanguage::fr;
    if (stored == u"en")
        return AppLanguage::en;
    return AppLanguage::system;
}

// Caller holds the lock.
AppLanguage currentLocked(State &s)
{
    if (!s.current)
        s.current = initialValue(s.sources);
    return *s.current;
}

} // namespace

namespace Localization {

QString defaultsKey()
{
    return appKey(u".language");
}

LocalizationNotifier *notifier()
{
    static LocalizationNotifier *instance = new LocalizationNotifier;
    return instance;
}

AppLanguage current()
{
    State &s = state();
    std::lock_guard guard(s.lock);
    return currentLocked(s);
}

void setCurrent(AppLanguage language)
{
    State &s = state();
    bool changed = false;
    {
        std::lock_guard guard(s.lock);
        changed = currentLocked(s) != language;
        s.current = language;
    }
    UserDefaults::standard().set(defaultsKey(), language.rawValue());
    if (changed)
        Q_EMIT notifier()->languageDidChange();
}

bool isEnglish()
{
    return current().isEnglish();
}

const LanguageSources &sources()
{
    return state().sources;
}

void setSourcesForTesting(LanguageSources sources)
{
    State &s = state();
    std::lock_guard guard(s.lock);
    s.sources = std::move(sources);
    s.current.reset();
}

} // namespace Localization

QString L(const QString &fr, const QString &en)
{
    return Localization::isEnglish() ? en : fr;
}

} // namespace plumeo
