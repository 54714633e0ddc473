#pragma once

#include "Command.h"
#include "editing/TextRange.h"

#include <QMetaObject>
#include <QPointer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QToolButton;

namespace plumeo {

class EditorView;
class FindHighlighter;

// The find bar under an editor: a search field searched as the user types, next and previous
// matches (wrapping around), a match-case toggle (off: case-insensitive), a count of the matches,
// and a replace row (replace one, replace all as one undo step that reports how many it replaced
// and leaves the caret on the same text). While it is open, the other matches in view are marked.
// Tab and Shift+Tab move between its own controls, the search and replacement fields first, and
// never into the text. Escape closes it and gives the focus back to the text. It searches the real
// characters of whichever view it is attached to.
class FindBar : public QWidget
{
    Q_OBJECT
public:
    explicit FindBar(QWidget *parent = nullptr);
    ~FindBar() override;

    // The view searched; null detaches. Views attach themselves in EditorView::setFindBar.
    void setView(EditorView *view);
    EditorView *view() const;

    // The Find menu's commands, which the bar answers for the view it searches.
    static bool isFinderCommand(Command command);
    bool canPerform(Command command) const;
    void perform(Command command);

    void showFind();
    void showReplace();
    bool findNext();
    bool findPrevious();
    void useSelectionForFind();
    // Replaces the current match (or the next one) and selects the following match.
    bool replace();
    // Replaces every match; answers how many, and says it in the count's place.
    qsizetype replaceAll();
    // Hides the bar and gives the focus back to the text.
    void dismiss();

    QString searchString() const;
    void setSearchString(const QString &text);
    QString replacementString() const;
    void setReplacementString(const QString &text);
    bool matchesCase() const;
    void setMatchesCase(bool on);
    bool showsReplace() const;
    // The count shown beside the field: "3 of 12", "No results"…
    QString statusText() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void build();
    void retranslate();
    void showBar(bool replaceRow);
    void searchAsTyped();
    bool find(bool forward);
    void selectMatch(TextRange match);
    void updateStatus();
    const QString &text();

    QPointer<QWidget> m_viewWidget;
    EditorView *m_view = nullptr;
    QMetaObject::Connection m_contentsConnection;
    QString m_text;
    bool m_textValid = false;
    QTimer *m_statusTimer = nullptr;
    FindHighlighter *m_highlighter = nullptr;

    QLineEdit *m_findField = nullptr;
    QToolButton *m_caseButton = nullptr;
    QLabel *m_status = nullptr;
    QToolButton *m_previousButton = nullptr;
    QToolButton *m_nextButton = nullptr;
    QPushButton *m_doneButton = nullptr;
    QWidget *m_replaceRow = nullptr;
    QLineEdit *m_replaceField = nullptr;
    QPushButton *m_replaceButton = nullptr;
    QPushButton *m_replaceAllButton = nullptr;
};

} // namespace plumeo
