#pragma once

#include <QString>

namespace plumeo {

// What a failed system call means, told to the user in the interface language.
namespace SystemError {

// One sentence, capitalised and ending with a full stop, for the errno value error. The errors a
// user meets and can act on (no permission, disk full or read-only, not found, too many open
// files, a folder where a file was expected) have a text of ours; the system's own message is then
// left out, as it says the same thing, often in another language. Any other error is given as the
// system's message after a lead-in of ours ("System error: Input/output error."). Any thread may
// call it.
QString describe(int error);

} // namespace SystemError

} // namespace plumeo
