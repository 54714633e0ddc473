#include "base/LogCategories.h"

namespace plumeo {

Q_LOGGING_CATEGORY(logSettings, "plumeo.settings")
Q_LOGGING_CATEGORY(logHighlighter, "plumeo.highlighter")
Q_LOGGING_CATEGORY(logLaunch, "plumeo.launch")
Q_LOGGING_CATEGORY(logVersions, "plumeo.versions")

} // namespace plumeo
