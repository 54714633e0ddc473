#pragma once

#include <memory>

#include <QObject>
#include <QString>

class QTranslator;

namespace plumeo {

// Qt's own texts (the buttons of message boxes and button boxes, the file dialog's labels and its
// "already exists" question, the colour and font dialogs, key names) in the interface language.
// Qt's texts are English: under French, Qt's French catalogue (qtbase_fr.qm, from Debian's
// qt6-translations-l10n) is installed in the application; under English none is. Widgets already
// shown are told through QEvent::LanguageChange, which Qt's dialogs answer by translating again.
//
// A missing or unreadable catalogue leaves Qt's texts in English and is logged once under
// plumeo.launch; nothing else depends on it. Main thread only; needs a QCoreApplication.
class QtTranslations : public QObject
{
    Q_OBJECT
public:
    // Installs the catalogue the interface language needs and follows every change of the language
    // setting. folder is where the catalogues are looked up.
    explicit QtTranslations(QString folder = standardFolder(), QObject *parent = nullptr);
    // Removes the installed catalogue: Qt's texts are English again.
    ~QtTranslations() override;
    QtTranslations(const QtTranslations &) = delete;
    QtTranslations &operator=(const QtTranslations &) = delete;

    // Where Qt's own installation keeps its catalogues.
    static QString standardFolder();

    // Installs the catalogue for the language the setting resolves to now, replacing the one
    // installed; nothing when that language is already installed.
    void update();
    // The language of Qt's texts: "fr" when the French catalogue is installed, else "en".
    QString installedCode() const;

private:
    QString m_folder;
    QString m_applied; // the language update() last worked for, installed or not
    std::unique_ptr<QTranslator> m_translator;
    bool m_reportedMissing = false;
};

} // namespace plumeo
