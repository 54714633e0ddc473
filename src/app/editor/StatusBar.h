#pragma once

#include "Command.h"
#include "editor/StatusBarActions.h"

#include <QWidget>

class QLabel;
class QMenu;
class QProgressBar;
class QToolButton;

namespace plumeo {

class EditorModel;

// The strip along the bottom of an editor, drawn from its EditorModel: from left to right the
// language menu (or the RTF pill of a rich-text document), the caret's position, the selection
// while there is one, the line and word counts, the "no highlighting" notice, and for plain text
// the encoding and line-ending menus and the indentation; then the help, shortcuts and about
// buttons. Every choice goes through its StatusBarActions, the path of the menus. Its texts follow
// the interface language at once.
class StatusBar : public QWidget
{
    Q_OBJECT
public:
    static constexpr int barHeight = 26;

    StatusBar(EditorModel *model, StatusBarActions actions, QWidget *parent = nullptr);

    // The items, for the editor's tests and pictures.
    QToolButton *languageButton() const { return m_language; }
    QLabel *richTextPill() const { return m_richText; }
    QLabel *positionLabel() const { return m_position; }
    QLabel *selectionLabel() const { return m_selection; }
    QLabel *countsLabel() const { return m_counts; }
    QLabel *noHighlightingLabel() const { return m_noHighlighting; }
    // Shown while a large file is still going into the document.
    QProgressBar *loadProgress() const { return m_loading; }
    QToolButton *encodingButton() const { return m_encoding; }
    QToolButton *lineEndingButton() const { return m_lineEnding; }
    QLabel *indentationLabel() const { return m_indentation; }
    QToolButton *helpButton() const { return m_help; }
    QToolButton *shortcutsButton() const { return m_shortcuts; }
    QToolButton *aboutButton() const { return m_about; }
    // Shown only while the updater offers a release; opens the update panel.
    QToolButton *updatePill() const { return m_update; }

    // Enables the help, shortcuts and about buttons as their menu items would be now. Done when
    // the bar shows and when the pointer comes over it.
    void updateCommandStates();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void enterEvent(QEnterEvent *event) override;

private:
    QToolButton *makeButton(const QString &objectName);
    QToolButton *makeMenuButton(const QString &objectName);
    QLabel *makeLabel(const QString &objectName);
    QToolButton *commandButton(Command command) const;
    void refresh();
    void retranslate();
    void fillMenus();

    EditorModel *m_model;
    StatusBarActions m_actions;
    QToolButton *m_language;
    QLabel *m_richText;
    QLabel *m_position;
    QLabel *m_selection;
    QLabel *m_counts;
    QLabel *m_noHighlighting;
    QProgressBar *m_loading;
    QWidget *m_divider;
    QToolButton *m_encoding;
    QToolButton *m_lineEnding;
    QLabel *m_indentation;
    QToolButton *m_update;
    QToolButton *m_help;
    QToolButton *m_shortcuts;
    QToolButton *m_about;
};

} // namespace plumeo
