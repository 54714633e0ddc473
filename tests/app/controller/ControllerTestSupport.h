#pragma once

#include "Alerts.h"
#include "AppDelegate.h"
#include "DocumentController.h"
#include "app/document/DocumentTestSupport.h"
#include "document/TextDocument.h"
#include "editor/EditorWindowController.h"
#include "text/Localization.h"

#include <memory>

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
