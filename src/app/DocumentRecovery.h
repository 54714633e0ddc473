#pragma once

#include "session/AutosaveRecord.h"

#include <QString>

namespace plumeo {

class DocumentController;
class TextDocument;

// Brings back the work of a Plumeo that stopped without saving it: the autosaves left by processes
// that are gone are offered one by one (RecoveryDialog); what the user restores opens as unsaved
// changes, what they discard goes, what they put off stays for the next start. Autosaves that
// cannot be read are renamed aside (NAME.damaged) and named in one message; nothing is opened from
// them. Nothing is opened that the user did not choose, and nothing is written but the new
// autosave of a restored document.
namespace DocumentRecovery {

// Offers the orphaned autosaves under root (see AutosaveStore). How many documents were restored.
int offer(DocumentController &controller, const QString &root);

// Opens record as unsaved changes: over its file when it has one that opens (and is not already
// open with changes of its own), else as an untitled document. The document, shown when display.
TextDocument *
restore(DocumentController &controller, const AutosaveRecord &record, bool display = true);

} // namespace DocumentRecovery

} // namespace plumeo
