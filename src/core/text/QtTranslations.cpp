#include "text/QtTranslations.h"

#include "base/LogCategories.h"
#include "text/Localization.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace plumeo {

QtTranslations::QtTranslations(QString folder, QObject *parent)
    : QObject(parent)
    , m_folder(std::move(folder))
{
    update();
    connect(Localization::notifier(), &LocalizationNotifier::languageDidChange, this,
            &QtTranslations::update);
}

QtTranslations::~QtTranslations()
{
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
}

QString QtTranslations::standardFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

void QtTranslations::update()
{
    // "system" may resolve to the language already installed: switching to it is no change.
    const QString code = Localization::current().resolvedCode();
    if (code == m_applied)
        return;
    m_applied = code;
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator.get());
        m_translator.reset();
    }
    if (code == u"en")
        return;

    auto translator = std::make_unique<QTranslator>();
    const QString name = QStringLiteral("qtbase_") + code;
    if (!translator->load(name, m_folder)) {
        if (!m_reportedMissing)
            qCWarning(logLaunch).noquote()
                << L(QStringLiteral("Le catalogue %1.qm de Qt est introuvable dans %2 : les "
                                    "dialogues propres à Qt restent en anglais (Debian le fournit "
                                    "dans qt6-translations-l10n)."),
                     QStringLiteral("Qt’s catalogue %1.qm isn’t in %2: Qt’s own dialogs stay in "
                                    "English (Debian ships it in qt6-translations-l10n)."))
                       .arg(name, m_folder);
        m_reportedMissing = true;
        return;
    }
    QCoreApplication::installTranslator(translator.get());
    m_translator = std::move(translator);
}

QString QtTranslations::installedCode() const
{
    return m_translator ? m_applied : QStringLiteral("en");
}

} // namespace plumeo
