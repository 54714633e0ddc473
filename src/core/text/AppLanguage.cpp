#include "text/AppLanguage.h"

#include "text/Localization.h"

namespace plumeo {

const std::array<AppLanguage, 3> &AppLanguage::allCases()
{
    static const std::array<AppLanguage, 3> cases{AppLanguage::system, AppLanguage::fr,
                                                  AppLanguage::en};
    return cases;
}

std::optional<AppLanguage> AppLanguage::fromRawValue(QStringView raw)
{
    if (raw == u"system")
        return AppLanguage::system;
    if (raw == u"fr")
        return AppLanguage::fr;
    if (raw == u"en")
        return AppLanguage::en;
    return std::nullopt;
}

QString AppLanguage::rawValue() const
{
    switch (m_value) {
    case system:
        return QStringLiteral("system");
    case fr:
        return QStringLiteral("fr");
    case en:
        return QStringLiteral("en");
    }
    Q_UNREACHABLE();
}

QString AppLanguage::label() const
{
    switch (m_value) {
    case system:
        return Localization::current().isEnglish() ? QStringLiteral("System")
                                                   : QStringLiteral("Système");
    case fr:
        return QStringLiteral("Français");
    case en:
        return QStringLiteral("English");
    }
    Q_UNREACHABLE();
}

namespace {

std::optional<QString> codeFromPrefix(const QString &value)
{
    const QString lower = value.toLower();
    if (lower.startsWith(u"en"))
        return QStringLiteral("en");
    if (lower.startsWith(u"fr"))
        return QStringLiteral("fr");
    return std::nullopt;
}

// "C", "POSIX", and the C locale with an encoding ("C.UTF-8").
bool isNeutralLocale(const QString &name)
{
    const QString lower = name.toLower();
    return lower == u"c" || lower == u"posix" || lower.startsWith(u"c.");
}

std::optional<QString> argumentAfterLang(const QStringList &arguments)
{
    const qsizetype at = arguments.indexOf(QStringLiteral("--lang"));
    if (at < 0 || at + 1 >= arguments.size())
        return std::nullopt;
    return arguments.at(at + 1);
}

} // namespace

QString AppLanguage::resolvedCode() const
{
    if (m_value == fr)
        return QStringLiteral("fr");
    if (m_value == en)
        return QStringLiteral("en");

    // Unlike the initial value, the environment comes before the command line here.
    const LanguageSources &sources = Localization::sources();
    if (const auto variable = sources.environment("VANTLE_LANG"))
        if (auto code = codeFromPrefix(*variable))
            return *code;
    if (const auto argument = argumentAfterLang(sources.arguments()))
        if (auto code = codeFromPrefix(*argument))
            return *code;
    // Only the most preferred language counts; French is the fallback for every other language.
    // The C and POSIX locales (Qt reports "C") say that no language was chosen: programs then
    // speak English, and so does Plumeo.
    const QStringList preferred = sources.preferredLanguages();
    if (!preferred.isEmpty()
        && (preferred.first().toLower().startsWith(u"en") || isNeutralLocale(preferred.first())))
        return QStringLiteral("en");
    return QStringLiteral("fr");
}

} // namespace plumeo
