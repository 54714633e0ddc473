// The settings panel: each control is bound to its setting, writes it the moment it changes, and
// an open editor follows; the panel follows the store and the interface language in turn.
#include "Preferences.h"
#include "app/controller/ControllerTestSupport.h"
#include "editor/EditorView.h"
#include "editor/LineNumberGutter.h"
#include "editor/SyntaxHighlighter.h"
#include "text/LineEnding.h"
#include "text/TextFile.h"
#include "text/UserDefaults.h"
#include "windows/SegmentedPicker.h"
#include "windows/SettingsView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>

using namespace plumeo;
using namespace plumeo::testing;
using namespace Qt::StringLiterals;

namespace {

class SettingsViewTest : public ControllerTest
{
protected:
    void SetUp() override
    {
        ControllerTest::SetUp();
        clearSettings();
        view = std::make_unique<SettingsView>();
    }
    void TearDown() override
    {
        view.reset();
        clearSettings();
        ControllerTest::TearDown();
    }
    static void clearSettings()
    {
        for (const Preferences::Default &entry : Preferences::defaults())
            if (entry.key != Preferences::Key::language())
                Preferences::set(entry.key, std::nullopt);
    }

    // No setting but the language is stored.
    static void expectNothingStored()
    {
        for (const Preferences::Default &entry : Preferences::defaults()) {
            if (entry.key == Preferences::Key::language())
                continue;
            EXPECT_FALSE(UserDefaults::standard().contains(entry.key)) << entry.key.toStdString();
        }
    }

    template <typename T> T *control(const QString &name) const
    {
        T *found = view->findChild<T *>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QCheckBox *box(const QString &key) const { return control<QCheckBox>(key); }
    QStringList sectionTitles() const
    {
        QStringList titles;
        for (QLabel *label : view->findChildren<QLabel *>(u"sectionTitle"_s))
            titles << label->text();
        return titles;
    }

    std::unique_ptr<SettingsView> view;
};

} // namespace

TEST_F(SettingsViewTest, NothingStoredShowsTheDefaults)
{
    auto *font = control<QComboBox>(u"fontPicker"_s);
    EXPECT_EQ(font->currentIndex(), 0);
    EXPECT_EQ(font->currentData().toString(), QString());
    EXPECT_EQ(font->currentText(), SettingsView::systemMonospacedFamily() + u" (system)"_s);
    EXPECT_EQ(control<QSpinBox>(u"fontSizeStepper"_s)->text(), u"13 pt");
    EXPECT_EQ(control<QSpinBox>(u"tabWidthStepper"_s)->text(), u"4 columns");
    auto *indent = control<SegmentedPicker>(u"indentPicker"_s);
    EXPECT_EQ(indent->titles(), QStringList({u"Spaces"_s, u"Tabs"_s}));
    EXPECT_EQ(indent->currentIndex(), 0);
    EXPECT_EQ(control<QComboBox>(u"encodingPicker"_s)->currentText(),
              TextFile::name(Encoding::utf8()));
    EXPECT_EQ(control<QComboBox>(u"lineEndingPicker"_s)->currentText(), u"LF (Unix, macOS)");
    EXPECT_TRUE(box(Preferences::Key::wordWrap())->isChecked());
    EXPECT_TRUE(box(Preferences::Key::showLineNumbers())->isChecked());
    EXPECT_TRUE(box(Preferences::Key::highlightCurrentLine())->isChecked());
    EXPECT_FALSE(box(Preferences::Key::hideMarkdownMarkup())->isChecked());
    EXPECT_TRUE(box(Preferences::Key::autoIndent())->isChecked());
    EXPECT_FALSE(box(Preferences::Key::showHiddenFiles())->isChecked());
    EXPECT_TRUE(box(Preferences::Key::autoCheckUpdates())->isChecked());
    // Nothing was written by showing them.
    expectNothingStored();

    // The lists offered: the system font, then every fixed-pitch family in code-point order; the
    // program's encodings and line endings in their order.
    const QStringList &families = SettingsView::monospacedFamilies();
    EXPECT_TRUE(std::is_sorted(families.begin(), families.end()));
    ASSERT_EQ(font->count(), families.size() + 1);
    for (qsizetype i = 0; i < families.size(); ++i) {
        EXPECT_TRUE(QFontDatabase::isFixedPitch(families[i])) << families[i].toStdString();
        EXPECT_EQ(font->itemData(int(i) + 1).toString(), families[i]);
    }
    auto *encodings = control<QComboBox>(u"encodingPicker"_s);
    ASSERT_EQ(size_t(encodings->count()), TextFile::encodings().size());
    for (int i = 0; i < encodings->count(); ++i)
        EXPECT_EQ(encodings->itemData(i).toULongLong(),
                  TextFile::encodings()[size_t(i)].rawValue());
    auto *endings = control<QComboBox>(u"lineEndingPicker"_s);
    ASSERT_EQ(endings->count(), 3);
    EXPECT_EQ(endings->itemData(1).toString(), u"CRLF");

    // Without the application, nobody answers the update command: the button says so.
    EXPECT_FALSE(control<QPushButton>(u"checkNowButton"_s)->isEnabled());
}

TEST_F(SettingsViewTest, EachControlWritesItsSettingAtOnceAndOpenEditorsFollow)
{
    EditorViewController *editor = open(u"notes.md"_s, "# Title\n");
    EditorViewController *untitled = openUntitled();
    auto *text = qobject_cast<QPlainTextEdit *>(editor->textView());
    ASSERT_NE(text, nullptr);

    auto *size = control<QSpinBox>(u"fontSizeStepper"_s);
    size->stepBy(7);
    EXPECT_EQ(Preferences::number(Preferences::Key::fontSize()), 20.0);
    EXPECT_EQ(text->font().pointSizeF(), 20.0);

    auto *font = control<QComboBox>(u"fontPicker"_s);
    const QStringList &families = SettingsView::monospacedFamilies();
    const QString system = SettingsView::systemMonospacedFamily();
    const auto other = std::find_if(families.begin(), families.end(),
                                    [&](const QString &family) { return family != system; });
    if (other != families.end()) {
        font->setCurrentIndex(font->findData(*other));
        EXPECT_EQ(Preferences::string(Preferences::Key::fontName()), *other);
        EXPECT_EQ(QFontInfo(text->font()).family(), *other);
        font->setCurrentIndex(0);
        EXPECT_EQ(Preferences::string(Preferences::Key::fontName()), QString());
        EXPECT_EQ(QFontInfo(text->font()).family(), system);
    }

    auto *width = control<QSpinBox>(u"tabWidthStepper"_s);
    width->stepBy(3);
    EXPECT_EQ(Preferences::integer(Preferences::Key::tabWidth()), 7);
    EXPECT_EQ(editor->editorView()->tabWidth(), 7);
    EXPECT_EQ(text->tabStopDistance(),
              QFontMetricsF(text->font()).horizontalAdvance(QLatin1Char(' ')) * 7);

    box(Preferences::Key::wordWrap())->click();
    EXPECT_FALSE(Preferences::boolean(Preferences::Key::wordWrap()));
    EXPECT_EQ(text->lineWrapMode(), QPlainTextEdit::NoWrap);
    box(Preferences::Key::showLineNumbers())->click();
    EXPECT_FALSE(Preferences::boolean(Preferences::Key::showLineNumbers()));
    EXPECT_EQ(editor->gutter()->width(), 0);
    box(Preferences::Key::highlightCurrentLine())->click();
    EXPECT_FALSE(Preferences::boolean(Preferences::Key::highlightCurrentLine()));
    EXPECT_FALSE(editor->editorView()->highlightsCurrentLine());
    box(Preferences::Key::hideMarkdownMarkup())->click();
    EXPECT_TRUE(Preferences::boolean(Preferences::Key::hideMarkdownMarkup()));
    EXPECT_TRUE(editor->highlighter()->hidesMarkup());
    box(Preferences::Key::autoIndent())->click();
    EXPECT_FALSE(Preferences::boolean(Preferences::Key::autoIndent()));
    EXPECT_FALSE(editor->editorView()->settings().autoIndent);

    // Indentation is for new files: the untitled document follows it, the opened file keeps
    // what its text says, or the setting when its text says nothing.
    control<SegmentedPicker>(u"indentPicker"_s)->click(1);
    EXPECT_TRUE(Preferences::boolean(Preferences::Key::indentWithTabs()));
    EXPECT_TRUE(untitled->editorView()->settings().indentStyle.usesTabs);
    EXPECT_EQ(untitled->editorView()->settings().indentStyle.unit(), u"\t");
    EXPECT_TRUE(editor->editorView()->settings().indentStyle.usesTabs);
    EditorViewController *indented = open(u"indented.py"_s, "if x:\n  y\n");
    control<SegmentedPicker>(u"indentPicker"_s)->click(0);
    EXPECT_FALSE(untitled->editorView()->settings().indentStyle.usesTabs);
    EXPECT_EQ(untitled->editorView()->settings().indentStyle.width, 7);
    EXPECT_EQ(indented->editorView()->settings().indentStyle.unit(), u"  ");

    control<QComboBox>(u"encodingPicker"_s)->setCurrentIndex(1);
    EXPECT_EQ(quint64(Preferences::integer(Preferences::Key::defaultEncoding())),
              TextFile::encodings()[1].rawValue());
    control<QComboBox>(u"lineEndingPicker"_s)->setCurrentIndex(1);
    EXPECT_EQ(Preferences::string(Preferences::Key::defaultLineEnding()), u"CRLF");
    box(Preferences::Key::showHiddenFiles())->click();
    EXPECT_TRUE(Preferences::boolean(Preferences::Key::showHiddenFiles()));
    box(Preferences::Key::restoreSession())->click();
    EXPECT_FALSE(Preferences::boolean(Preferences::Key::restoreSession()));
    box(Preferences::Key::autoCheckUpdates())->click();
    EXPECT_FALSE(Preferences::boolean(Preferences::Key::autoCheckUpdates()));
}

TEST_F(SettingsViewTest, SteppersStopAtTheirBounds)
{
    auto *size = control<QSpinBox>(u"fontSizeStepper"_s);
    size->stepBy(100);
    EXPECT_EQ(size->text(), u"48 pt");
    EXPECT_EQ(Preferences::number(Preferences::Key::fontSize()), 48.0);
    size->stepBy(-100);
    EXPECT_EQ(size->text(), u"8 pt");
    EXPECT_EQ(Preferences::number(Preferences::Key::fontSize()), 8.0);
    auto *width = control<QSpinBox>(u"tabWidthStepper"_s);
    width->stepBy(100);
    EXPECT_EQ(width->text(), u"16 columns");
    EXPECT_EQ(Preferences::integer(Preferences::Key::tabWidth()), 16);
    width->stepBy(-100);
    EXPECT_EQ(width->text(), u"1 column");
    EXPECT_EQ(Preferences::integer(Preferences::Key::tabWidth()), 1);
}

TEST_F(SettingsViewTest, ControlsFollowTheStoreWithoutWritingBack)
{
    Preferences::set(Preferences::Key::wordWrap(), QJsonValue(false));
    Preferences::set(Preferences::Key::fontSize(), QJsonValue(30.0));
    Preferences::set(Preferences::Key::indentWithTabs(), QJsonValue(true));
    Preferences::set(Preferences::Key::defaultLineEnding(), QJsonValue(u"CR"_s));
    EXPECT_FALSE(box(Preferences::Key::wordWrap())->isChecked());
    EXPECT_EQ(control<QSpinBox>(u"fontSizeStepper"_s)->value(), 30);
    EXPECT_EQ(control<SegmentedPicker>(u"indentPicker"_s)->currentIndex(), 1);
    EXPECT_EQ(control<QComboBox>(u"lineEndingPicker"_s)->currentData().toString(), u"CR");

    // Values the controls cannot show as they are (hand-edited) are shown as near as can be and
    // left as they are stored.
    Preferences::set(Preferences::Key::tabWidth(), QJsonValue(40));
    EXPECT_EQ(control<QSpinBox>(u"tabWidthStepper"_s)->value(), 16);
    EXPECT_EQ(Preferences::integer(Preferences::Key::tabWidth()), 40);
    Preferences::set(Preferences::Key::fontName(), QJsonValue(u"No Such Family Here"_s));
    EXPECT_EQ(control<QComboBox>(u"fontPicker"_s)->currentIndex(), 0);
    EXPECT_EQ(Preferences::string(Preferences::Key::fontName()), u"No Such Family Here");
    Preferences::set(Preferences::Key::defaultEncoding(), QJsonValue(-3));
    EXPECT_EQ(control<QComboBox>(u"encodingPicker"_s)->currentText(),
              TextFile::name(Encoding::utf8()));
    EXPECT_EQ(Preferences::integer(Preferences::Key::defaultEncoding()), -3);
}

TEST_F(SettingsViewTest, TheLanguagePickerSwitchesTheLanguageAndRetitlesThePanelAtOnce)
{
    auto *language = control<SegmentedPicker>(u"languagePicker"_s);
    EXPECT_EQ(language->titles(), QStringList({u"System"_s, u"Français"_s, u"English"_s}));
    EXPECT_EQ(language->currentIndex(), 2);
    EXPECT_EQ(sectionTitles(),
              QStringList({u"Language"_s, u"Text"_s, u"Indentation"_s, u"Files"_s, u"Updates"_s}));

    language->click(1);

    EXPECT_EQ(Localization::current(), AppLanguage::fr);
    EXPECT_EQ(UserDefaults::standard().string(Preferences::Key::language()), u"fr");
    EXPECT_EQ(sectionTitles(), QStringList({u"Langue"_s, u"Texte"_s, u"Indentation"_s,
                                            u"Fichiers"_s, u"Mises à jour"_s}));
    EXPECT_EQ(language->titles(), QStringList({u"Système"_s, u"Français"_s, u"English"_s}));
    EXPECT_EQ(language->currentIndex(), 1);
    EXPECT_EQ(box(Preferences::Key::wordWrap())->text(), u"Retour à la ligne automatique");
    EXPECT_EQ(control<QSpinBox>(u"tabWidthStepper"_s)->text(), u"4 colonnes");
    EXPECT_EQ(control<SegmentedPicker>(u"indentPicker"_s)->titles(),
              QStringList({u"Espaces"_s, u"Tabulations"_s}));
    EXPECT_EQ(control<QComboBox>(u"fontPicker"_s)->itemText(0),
              SettingsView::systemMonospacedFamily() + u" (système)"_s);
    // The longer French name is not cut: the picker grows with its text after being shown.
    {
        auto *font = control<QComboBox>(u"fontPicker"_s);
        language->click(2);
        view->show();
        const int shownWidth = font->sizeHint().width();
        language->click(1);
        EXPECT_GT(font->sizeHint().width(), shownWidth);
        view->hide();
    }
    EXPECT_EQ(control<QComboBox>(u"lineEndingPicker"_s)->currentText(),
              LineEnding(LineEnding::lf).label());
    EXPECT_EQ(control<QPushButton>(u"checkNowButton"_s)->text(), u"Vérifier maintenant…");
    EXPECT_EQ(view->findChild<QLabel *>(u"indentationNote"_s)->text(),
              u"Un fichier ouvert garde l’indentation lue dans son texte.");
    // A language change is not a settings change: nothing else was written.
    expectNothingStored();

    // A click on the language in force changes nothing; a language set elsewhere shows here.
    language->click(1);
    EXPECT_EQ(Localization::current(), AppLanguage::fr);
    Preferences::setLanguage(AppLanguage::en);
    EXPECT_EQ(language->currentIndex(), 2);
    EXPECT_EQ(sectionTitles()[0], u"Language");
}
