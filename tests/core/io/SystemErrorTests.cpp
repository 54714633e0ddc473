#include "io/SafeFileWriter.h"
#include "io/SystemError.h"
#include "text/Localization.h"

#include <cerrno>

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

class SystemErrorText : public ::testing::Test
{
protected:
    void TearDown() override { Localization::setCurrent(AppLanguage::system); }
};

} // namespace

TEST_F(SystemErrorText, CommonErrorsAreOurSentencesInBothLanguages)
{
    struct Case
    {
        int error;
        const char16_t *fr, *en;
    };
    const Case cases[] = {
        {EACCES, u"Vous n’avez pas l’autorisation nécessaire.", u"You don’t have permission."},
        {EPERM, u"Vous n’avez pas l’autorisation nécessaire.", u"You don’t have permission."},
        {ENOSPC, u"Le disque est plein.", u"The disk is full."},
        {EDQUOT, u"Votre quota d’espace disque est atteint.", u"Your disk quota is used up."},
        {EROFS, u"Le disque est en lecture seule.", u"The disk is read-only."},
        {ENOENT, u"Le fichier ou le dossier n’existe pas.", u"The file or folder doesn’t exist."},
        {EMFILE, u"Plumeo a trop de fichiers ouverts.", u"Plumeo has too many files open."},
        {ENFILE, u"Le système a trop de fichiers ouverts.", u"The system has too many files open."},
        {EISDIR, u"C’est un dossier, pas un fichier.", u"It is a folder, not a file."},
        {ENAMETOOLONG, u"Le nom du fichier est trop long.", u"The file name is too long."},
        {EIO, u"Le disque a signalé une erreur de lecture ou d’écriture.",
         u"The disk reported a read or write error."},
        {0, u"Une erreur inconnue s’est produite.", u"An unknown error occurred."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.error);
        Localization::setCurrent(AppLanguage::fr);
        EXPECT_EQ(SystemError::describe(c.error), QString::fromUtf16(c.fr));
        Localization::setCurrent(AppLanguage::en);
        EXPECT_EQ(SystemError::describe(c.error), QString::fromUtf16(c.en));
    }
}

TEST_F(SystemErrorText, OtherErrorsKeepTheSystemsMessageAfterOurLeadIn)
{
    char buffer[256];
    const QString system = QString::fromLocal8Bit(::strerror_r(ECONNRESET, buffer, sizeof buffer));
    ASSERT_FALSE(system.isEmpty());
    Localization::setCurrent(AppLanguage::fr);
    EXPECT_EQ(SystemError::describe(ECONNRESET),
              QStringLiteral("Erreur du système : ") + system + u'.');
    Localization::setCurrent(AppLanguage::en);
    EXPECT_EQ(SystemError::describe(ECONNRESET), QStringLiteral("System error: ") + system + u'.');
}

TEST_F(SystemErrorText, WriteReasonsSayWhatWritingMeansElseWhatTheSystemSays)
{
    Localization::setCurrent(AppLanguage::fr);
    const auto reason = [](int error) { return FileWriteError::fromErrno(error, {}).reason(); };
    // Texts about writing where the situation is known ...
    EXPECT_EQ(reason(EACCES), u"Vous n’avez pas l’autorisation d’écrire ce fichier.");
    EXPECT_EQ(reason(ENOENT), u"Le dossier n’existe pas.");
    // ... and the shared sentence everywhere else, never the system's own words alone.
    for (int error : {EROFS, ENOSPC, EDQUOT, EISDIR, ENAMETOOLONG, EMFILE, ENFILE, EIO, EXDEV}) {
        SCOPED_TRACE(error);
        EXPECT_EQ(reason(error), SystemError::describe(error));
    }
    EXPECT_TRUE(reason(EXDEV).startsWith(u"Erreur du système : "));
}
