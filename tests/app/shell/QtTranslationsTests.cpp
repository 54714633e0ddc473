// Qt's own dialog texts follow the interface language.
#include "text/Localization.h"
#include "text/QtTranslations.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

QStringList launchWarnings;

void recordLaunchWarnings(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    if (QByteArrayView(context.category) == "plumeo.launch")
        launchWarnings << message;
}

class QtTranslationsTest : public ::testing::Test
{
protected:
    void TearDown() override { Localization::setCurrent(AppLanguage::system); }

    static bool hasFrenchCatalogue()
    {
        return QFileInfo::exists(QtTranslations::standardFolder()
                                 + QStringLiteral("/qtbase_fr.qm"));
    }
    // Delivers the language change Qt posts to every window.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange); }
};

} // namespace

TEST_F(QtTranslationsTest, StockDialogsReadInTheInterfaceLanguageAndFollowItsChanges)
{
    if (!hasFrenchCatalogue())
        GTEST_SKIP() << "qtbase_fr.qm is not installed (qt6-translations-l10n)";
    Localization::setCurrent(AppLanguage::fr);
    auto translations = std::make_unique<QtTranslations>();
    EXPECT_EQ(translations->installedCode(), u"fr");

    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QMessageBox box(QMessageBox::Warning, QStringLiteral("x"), QStringLiteral("x"),
                    QMessageBox::Save | QMessageBox::Cancel);
    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    const auto lookIn = [&files] {
        return files.findChild<QLabel *>(QStringLiteral("lookInLabel"))->text();
    };
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), u"Annuler");
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), u"Annuler");
    EXPECT_EQ(box.button(QMessageBox::Save)->text(), u"Enregistrer");
    EXPECT_EQ(lookIn(), u"Voir dans :");

    // Windows already open are translated again.
    Localization::setCurrent(AppLanguage::en);
    settle();
    EXPECT_EQ(translations->installedCode(), u"en");
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), u"Cancel");
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), u"Cancel");
    EXPECT_EQ(lookIn(), u"Look in:");

    Localization::setCurrent(AppLanguage::fr);
    settle();
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), u"Annuler");
    EXPECT_EQ(lookIn(), u"Voir dans :");

    // Gone with its owner: Qt speaks English again, even under French.
    translations.reset();
    settle();
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), u"Cancel");
    EXPECT_EQ(L(QStringLiteral("Annuler"), QStringLiteral("Cancel")), u"Annuler");
}

TEST_F(QtTranslationsTest, AMissingCatalogueLeavesQtInEnglishAndIsLoggedOnce)
{
    QTemporaryDir empty;
    Localization::setCurrent(AppLanguage::fr);
    launchWarnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordLaunchWarnings);
    {
        QtTranslations translations(empty.path());
        EXPECT_EQ(translations.installedCode(), u"en");
        Localization::setCurrent(AppLanguage::en);
        Localization::setCurrent(AppLanguage::fr);
        EXPECT_EQ(translations.installedCode(), u"en");
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), u"Cancel");
    }
    qInstallMessageHandler(previous);
    ASSERT_EQ(launchWarnings.size(), 1) << launchWarnings.join(u'\n').toStdString();
    EXPECT_TRUE(launchWarnings[0].contains(u"qtbase_fr.qm")) << launchWarnings[0].toStdString();
    // Plumeo's own texts are unaffected.
    EXPECT_EQ(L(QStringLiteral("Annuler"), QStringLiteral("Cancel")), u"Annuler");
}
