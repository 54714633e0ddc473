#pragma once

#include "ActionDispatcher.h"
#include "Alerts.h"
#include "DocumentCommands.h"
#include "DocumentController.h"
#include "MainMenu.h"
#include "app/document/DocumentTestSupport.h"
#include "document/TextDocument.h"
#include "editor/EditorViewController.h"
#include "editor/EditorWindowController.h"
#include "text/Localization.h"

#include <memory>

#include <QMenuBar>
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

// A document controller on its own, as the application wires it (windows with the menu bar, the
// dispatcher's chain), with every alert recorded and every question answered by the test.
class ControllerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Localization::setCurrent(AppLanguage::en);
        m_controller = std::make_unique<DocumentController>();
        m_controller->setMenuBarFactory([this] {
            QMenuBar *bar = MainMenu::build(&menuTarget);
            ActionDispatcher::shared().install(bar);
            return bar;
        });
        ActionDispatcher &dispatcher = ActionDispatcher::shared();
        dispatcher.setWindowResponders(&EditorWindowController::respondersOf);
        dispatcher.setApplicationResponders({m_controller.get()});
        Alerts::setAnswersForTesting({
            [this](const DocumentError &error) {
                errors.push_back(error);
                alerts << error.description;
            },
            [this](const QString &) { return saveChoice; },
            [](const QString &) { return true; },
            [this](const QString &name) {
                overwriteQuestions << name;
                return overwriteAnswer;
            },
        });
        Alerts::setSaveAsAnswerForTesting([this](const DocumentError &error) {
            saveAsOffers.push_back(error);
            return false;
        });
    }
    void TearDown() override
    {
        ActionDispatcher::shared().setApplicationResponders({});
        ActionDispatcher::shared().setWindowResponders({});
        m_controller.reset(); // its windows, then its documents
        Alerts::setSaveAsAnswerForTesting({});
        Alerts::setAnswersForTesting({});
        Localization::setCurrent(AppLanguage::system);
    }

    DocumentController *controller() { return m_controller.get(); }
    // The editor of document in the first window.
    static EditorViewController *editorFor(const TextDocument *document)
    {
        return EditorWindowController::all().front()->editorFor(document);
    }
    EditorViewController *open(const QString &name, const QByteArray &bytes)
    {
        return editorFor(controller()->openDocument(writeFile(dir, name, bytes)).value());
    }
    EditorViewController *openUntitled() { return editorFor(controller()->newDocument()); }

    QObject menuTarget; // where the application's own items point
    QStringList alerts;
    std::vector<DocumentError> errors;
    std::vector<DocumentError> saveAsOffers;
    Alerts::SaveChoice saveChoice = Alerts::SaveChoice::dontSave;
    QStringList overwriteQuestions;
    bool overwriteAnswer = false;
    QTemporaryDir dir;

private:
    std::unique_ptr<DocumentController> m_controller;
};

} // namespace plumeo::testing
