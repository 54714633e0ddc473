#pragma once

#include <QTextBrowser>

namespace plumeo {

// The guide's viewer: a QTextBrowser that shows the compiled-in guide (HelpGuide) and nothing
// else. Pages read in the interface language of the moment; a change of language shows the same
// page in the new one. It never reads the network or a file: every resource a page asks for (a
// page, an image, a style sheet) is served from the guide's resources or is empty. Links to http,
// https and mailto go to the desktop's handler (QDesktopServices); links inside the guide open
// here; any other link does nothing. Back, forward and home are QTextBrowser's own (Alt+Left,
// Alt+Right, Alt+Up).
class HelpBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget *parent = nullptr);

    // What a click on url does, as described above.
    void followLink(const QUrl &url);
    // Shows the page of the guide holding the anchor named section and scrolls to it; without a
    // section, or with one that is not an anchor of the guide, nothing changes. Returns whether
    // the section was found.
    bool showSection(const QString &section);

    QVariant loadResource(int type, const QUrl &name) override;

protected:
    // Only guide URLs are shown; any other source is refused and the page stays as it is.
    void doSetSource(const QUrl &name, QTextDocument::ResourceType type) override;

private:
    void applyTheme();
    void followLanguage();
};

} // namespace plumeo
