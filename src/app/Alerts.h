#pragma once

#include "document/DocumentError.h"

#include <functional>

class QWidget;

namespace plumeo {

// The application's standard dialogs: an error alert, and the question asked before unsaved changes
// would be lost. Tests replace the answers so that no dialog blocks them.
namespace Alerts {

enum class SaveChoice { save, dontSave, cancel };

void presentError(QWidget *parent, const DocumentError &error);
// The error of a save that cannot be made where it was asked, with a Save As button: whether the
// user chose it.
bool offerSaveAs(QWidget *parent, const DocumentError &error);
SaveChoice askToSave(QWidget *parent, const QString &documentName);
// A problem with the settings file, shown without blocking and at most once per run (later ones
// are dropped: one message is enough to tell that settings are not being kept).
void presentSettingsProblem(const DocumentError &error);
// Whether to throw away the unsaved changes and go back to the saved file.
bool confirmRevert(QWidget *parent, const QString &documentName);

// Whether to save over a file that another program changed since it was read.
bool confirmOverwriteChangedFile(QWidget *parent, const QString &documentName);

struct TestAnswers
{
    std::function<void(const DocumentError &)> presentError;
    std::function<SaveChoice(const QString &)> askToSave;
    std::function<bool(const QString &)> confirmRevert;
    std::function<bool(const QString &)> confirmOverwriteChangedFile;
};
// Replaces the dialogs by these answers (an empty set restores the dialogs).
void setAnswersForTesting(TestAnswers answers);
// The answer offerSaveAs gives while testing answers are set (none: the error is presented
// through TestAnswers::presentError and Save As is declined).
void setSaveAsAnswerForTesting(std::function<bool(const DocumentError &)> answer);

} // namespace Alerts

} // namespace plumeo
