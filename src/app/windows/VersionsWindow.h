#pragma once

#include "editing/LineComparison.h"
#include "io/StoredVersion.h"

#include <vector>

#include <QPointer>
#include <QWidget>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace plumeo {

class TextDocument;

// The history of one document's file: the current text on top, then every version the version
// store keeps, newest first, each with its date and size. The chosen version is shown beside the
// current text with the lines that differ marked: removed (red), added (green), changed (yellow),
// tinted backgrounds from the Theme that keep the text readable on the dark panels. Restore asks
// for the chosen version to replace the document's text (restoreRequested); the window never edits
// the document itself, so that its owner makes the change one undoable edit of the editor. A
// version that the document's encoding cannot read, a damaged history or missing contents are said
// in the window, and nothing is restored. Texts follow the interface language as it changes.
class VersionsWindow : public QWidget
{
    Q_OBJECT
public:
    explicit VersionsWindow(TextDocument *document, QWidget *parent = nullptr);

    // Reads the history again and shows the newest version (or the current text when there is
    // none).
    void reload();

    // Rows of the list: 0 is the current text, 1… the versions, newest first.
    int rowCount() const;
    void selectRow(int row);
    int selectedRow() const;
    const std::vector<StoredVersion> &versions() const { return m_versions; }
    // The decoded text of the chosen version, and how its lines compare with the current text.
    const QString &shownText() const { return m_shownText; }
    const LineComparison &comparison() const { return m_comparison; }
    // What the window says of the chosen version or the history; empty when all is well.
    QString message() const;
    bool canRestore() const;
    // Asks for the chosen version, when it can be restored.
    void restore();

Q_SIGNALS:
    // text (real characters, line breaks as LF) should replace the document's text.
    void restoreRequested(const QString &text);

private:
    void build();
    void retranslate();
    void fillList();
    void showSelected();
    void compareWithCurrent();
    void markLines(QPlainTextEdit *view, const std::vector<LineComparison::Mark> &marks);
    void showMessage();

    QPointer<TextDocument> m_document;
    std::vector<StoredVersion> m_versions;
    bool m_historyDamaged = false;
    QString m_shownText;
    bool m_shownReadable = false;
    LineComparison m_comparison;
    // Which sentence the message is, so that it can be said again in another language.
    enum class Say { nothing, damagedHistory, missingContents, undecodable, unrestorable };
    Say m_say = Say::nothing;
    QTimer *m_refresh;

    QListWidget *m_list;
    QLabel *m_versionTitle;
    QLabel *m_currentTitle;
    QPlainTextEdit *m_versionView;
    QPlainTextEdit *m_currentView;
    QLabel *m_message;
    QPushButton *m_restoreButton;
    QPushButton *m_closeButton;
};

} // namespace plumeo
