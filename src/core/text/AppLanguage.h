#pragma once

#include <array>
#include <functional>
#include <optional>

#include <QLocale>
#include <QString>

namespace plumeo {

// The interface-language setting: follow the system, or force French or English.
// Raw values ("system", "fr", "en") are what the settings file stores.
class AppLanguage
{
public:
    enum Value { system, fr, en };

    constexpr AppLanguage(Value value)
        : m_value(value)
    {}

    // The three settings in the order the settings panel lists them.
    static const std::array<AppLanguage, 3> &allCases();
    // Exactly "system", "fr" or "en" (case-sensitive); anything else gives nothing.
    static std::optional<AppLanguage> fromRawValue(QStringView raw);

    constexpr Value value() const { return m_value; }
    QString rawValue() const;
    QString id() const { return rawValue(); }
    // "Système"/"System" for system (in the current interface language), else the language's own
    // name.
    QString label() const;
    // "fr" or "en": the language this setting shows. For system it is worked out afresh on each
    // call: English when the most preferred language is English or the C/POSIX locale, French
    // otherwise.
    QString resolvedCode() const;
    bool isEnglish() const { return resolvedCode() == u"en"; }
    QLocale locale() const { return QLocale(resolvedCode()); }

    friend constexpr bool operator==(AppLanguage a, AppLanguage b)
    {
        return a.m_value == b.m_value;
    }

private:
    Value m_value;
};

inline size_t qHash(AppLanguage language, size_t seed = 0)
{
    return seed ^ std::hash<int>{}(int(language.value()));
}

} // namespace plumeo
