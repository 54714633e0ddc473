#pragma once

#include <functional>
#include <vector>

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QVBoxLayout;

namespace plumeo {

class SegmentedPicker;

// The content of the Settings window: one column of five titled sections (Language, Text,
// Indentation, Files, Updates) whose controls are bound to the settings. A control writes its key
// into the settings store the moment it changes, and the store's change signal carries it to the
// open editors; the controls follow the store in turn, so a setting changed elsewhere (a View menu
// toggle, another Plumeo) shows here at once. The language is the exception: its picker calls
// Preferences::setLanguage, and every text of the panel follows the new language at once.
//
// The view has no window of its own; whoever hosts it gives it one. Controls carry object names
// ("languagePicker", "fontPicker", "fontSizeStepper", "tabWidthStepper", "indentPicker",
// "encodingPicker", "lineEndingPicker", "checkNowButton", and the key they are bound to for each
// check box), and every section title is a QLabel named "sectionTitle".
class SettingsView : public QWidget
{
    Q_OBJECT
public:
    explicit SettingsView(QWidget *parent = nullptr);

    // The installed font families whose fonts are fixed-pitch, in code-point order
    // (case-sensitive). Worked out once per process.
    static const QStringList &monospacedFamilies();
    // The family the system's monospaced font actually resolves to, which names the font list's
    // first choice (the empty setting).
    static QString systemMonospacedFamily();

    static constexpr int smallestFontSize = 8;
    static constexpr int largestFontSize = 48;
    static constexpr int narrowestTab = 1;
    static constexpr int widestTab = 16;

private:
    // A section title at the end of the column.
    void addSection(const QString &fr, const QString &en);
    // A row: its label, 150 pixels wide, then control.
    void addRow(const QString &fr, const QString &en, QWidget *control);
    // A check box bound to the Boolean setting key, in layout (the column when null).
    QCheckBox *addCheckBox(const QString &fr,
                           const QString &en,
                           const QString &key,
                           QLayout *layout = nullptr);
    // Runs title whenever the interface language changes (and once the view is built).
    void retitleWith(std::function<void()> title);
    // Runs show whenever a setting changes (and once the view is built).
    void refreshWith(std::function<void()> show);

    void buildLanguageSection();
    void buildTextSection();
    void buildIndentationSection();
    void buildFilesSection();
    void buildUpdatesSection();

    void retranslate();
    void refresh();

    QVBoxLayout *m_column;
    SegmentedPicker *m_languagePicker = nullptr;
    QComboBox *m_fontPicker = nullptr;
    QSpinBox *m_fontSizeStepper = nullptr;
    QSpinBox *m_tabWidthStepper = nullptr;
    SegmentedPicker *m_indentPicker = nullptr;
    QComboBox *m_encodingPicker = nullptr;
    QComboBox *m_lineEndingPicker = nullptr;
    QPushButton *m_checkNowButton = nullptr;
    std::vector<std::function<void()>> m_titles;
    std::vector<std::function<void()>> m_bindings;
    bool m_refreshing = false;
};

} // namespace plumeo
