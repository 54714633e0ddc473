#pragma once

#include "Alerts.h"
#include "AppDelegate.h"
#include "DocumentCommands.h"
#include "DocumentController.h"
#include "app/document/DocumentTestSupport.h"
#include "document/TextDocument.h"
#include "editor/EditorWindowController.h"
#include "text/Localization.h"

#include <memory>
#include <string>

#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace plumeo::testing {

using test::readFile;
using test::writeFile;

inline void type(TextDocument *document, const QString &text)
{
    QTextCursor cursor(document->textStorage());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
}

// How a document command ended, in words a failed expectation prints: "done", "cancelled", or
// "failed: " and the error's description.
inline std::string ended(const DocumentCommands::CommandResult &result)
{
    if (!result)
        return "failed: " + result.error().description.toStdString();
    return result.value() == DocumentCommands::Outcome::done ? "done" : "cancelled";
}

inline std::string ended(const Result<void, DocumentError> &result)
{
    return result ? "done" : "failed: " + result.error().description.toStdString();
}

// A launched application: delegate, controller, and alerts recorded instead of shown.
class ControllerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Localization::setCurrent(AppLanguage::en);
        delegate = std::make_unique<AppDelegate>();
        delegate->applicationWillFinishLaunching({});
        Alerts::setAnswersForTesting({
            [this](const DocumentError &error) { alerts << error.description; },
            [this](const QString &) { return saveChoice; },
            [](const QString &) { return true; },
            [this](const QString &name) {
                overwriteQuestions << name;
                return overwriteAnswer;
            },
        });
    }
    void TearDown() override
    {
        saveChoice = Alerts::SaveChoice::dontSave;
        for (EditorWindowController *window : std::vector(EditorWindowController::all()))
            delete window;
        Alerts::setAnswersForTesting({});
        delegate.reset();
        Localization::setCurrent(AppLanguage::system);
    }
    DocumentController *controller() { return delegate->documentController(); }

    std::unique_ptr<AppDelegate> delegate;
    QStringList alerts;
    Alerts::SaveChoice saveChoice = Alerts::SaveChoice::dontSave;
    QStringList overwriteQuestions;
    bool overwriteAnswer = false;
    QTemporaryDir dir;
};

} // namespace plumeo::testing
