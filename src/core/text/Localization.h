#pragma once

#include "text/AppLanguage.h"

#include <functional>
#include <optional>

#include <QObject>
#include <QStringList>

namespace plumeo {

// Emits languageDidChange() when the interface language setting changes value. Receivers are called
// synchronously on the thread that changed the setting.
class LocalizationNotifier : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
Q_SIGNALS:
    void languageDidChange();
};

// Where the interface language is read from. Replaceable so that tests can pose as any user.
struct LanguageSources
{
    std::function<QStringList()> arguments;
    std::function<std::optional<QString>(const char *name)> environment;
    std::function<QStringList()> preferredLanguages; // most preferred first
    // The process's real sources: its arguments, its environment and the system's UI languages.
    static LanguageSources process();
};

// The application's interface language. Any thread may read it; it is set from the main thread.
namespace Localization {

QString defaultsKey();
LocalizationNotifier *notifier();

// Initialised on first use from "--lang", then VANTLE_LANG, then the stored setting.
AppLanguage current();
// Stores the value under defaultsKey() (even when unchanged); signals only a real change.
void setCurrent(AppLanguage language);
bool isEnglish();

const LanguageSources &sources();
// Replaces the sources and forgets the current value, so that the next read initialises it again.
void setSourcesForTesting(LanguageSources sources);

} // namespace Localization

// The English text when the interface language resolves to English, else the French one.
QString L(const QString &fr, const QString &en);

} // namespace plumeo
