// What the user reads when the system refuses to open or save a file: the reason in the interface
// language, whatever language the system's own messages are in.
#include "DocumentCommands.h"
#include "DocumentController.h"
#include "app/controller/ControllerTestSupport.h"
#include "core/io/IoTestSupport.h"
#include "document/TextDocument.h"
#include "text/Localization.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace plumeo;
using plumeo::testing::readFile;
using plumeo::testing::writeFile;

namespace {

using SystemErrorAlerts = plumeo::testing::ControllerTest;

} // namespace

TEST_F(SystemErrorAlerts, RunningOutOfDescriptorsIsToldInTheInterfaceLanguage)
{
    const QString path = writeFile(dir, QStringLiteral("notes.txt"), "notes\n");
    TextDocument *document = controller()->openDocument(path, false).value();
    plumeo::testing::type(document, QStringLiteral(" more"));

    struct Case
    {
        AppLanguage language;
        const char16_t *opening, *reason;
    };
    for (const Case &c : {Case{AppLanguage::fr, u"Le fichier « other.txt » n’a pas pu être ouvert.",
                               u"Plumeo a trop de fichiers ouverts."},
                          Case{AppLanguage::en, u"The file “other.txt” couldn’t be opened.",
                               u"Plumeo has too many files open."}}) {
        Localization::setCurrent(c.language);
        const QString other = writeFile(dir, QStringLiteral("other.txt"), "other\n");
        DocumentCommands commands(document, nullptr);
        std::optional<DocumentError> opening, saving;
        {
            const plumeo::testing::DescriptorsExhausted exhausted;
            ASSERT_TRUE(exhausted.isExhausted());
            if (auto opened = controller()->openDocument(other, false); !opened)
                opening = opened.error();
            if (auto saved = commands.save(); !saved)
                saving = saved.error();
        }
        ASSERT_TRUE(opening);
        EXPECT_EQ(opening->description, QString::fromUtf16(c.opening));
        EXPECT_EQ(opening->recoverySuggestion, QString::fromUtf16(c.reason));
        ASSERT_TRUE(saving);
        EXPECT_EQ(saving->recoverySuggestion, QString::fromUtf16(c.reason));
        EXPECT_EQ(readFile(path), "notes\n");
        EXPECT_TRUE(document->isEdited());
    }
}

TEST_F(SystemErrorAlerts, AFullDiskIsToldInFrenchUnderFrench)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting a tmpfs needs root";
    const QString tiny = dir.filePath(QStringLiteral("tiny"));
    const plumeo::testing::TinyFileSystem fileSystem(tiny, 64);
    if (!fileSystem.isMounted())
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    Localization::setCurrent(AppLanguage::fr);
    const QString path = tiny + QStringLiteral("/notes.txt");
    QFile(path).open(QIODevice::WriteOnly);
    TextDocument *document = controller()->openDocument(path, false).value();
    plumeo::testing::type(document, QString(200'000, u'x'));

    DocumentCommands commands(document, nullptr);
    EXPECT_FALSE(commands.report(commands.save()));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].description, u"Le document « notes.txt » n’a pas pu être enregistré.");
    EXPECT_EQ(errors[0].recoverySuggestion, u"Le disque est plein.");
    EXPECT_EQ(readFile(path), "");
    EXPECT_TRUE(document->isEdited());
}
