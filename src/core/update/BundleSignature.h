#pragma once

#include "base/Result.h"
#include "update/UpdaterError.h"

#include <optional>

#include <QByteArray>
#include <QString>

namespace plumeo {

class SigningKey;

// Signatures of application bundles. A bundle is a folder (Plumeo.app) of regular files and
// folders only; its "signature" folder holds exactly three files:
//   manifest    one line per file and folder of the bundle, the signature folder excepted, sorted
//               by path: "f <mode> <sha256> <path>" or "d <mode> - <path>", mode in octal
//   signature   the base64 Ed25519 signature of the manifest's bytes
//   public-key  the base64 raw public key of the signer
// Verification is strict: the signature must match the manifest, and the manifest the bundle
// exactly; a file missing, added, changed or with another mode, a symbolic link, a special file,
// a set-user-id bit or a group- or world-writable mode refuses the bundle.
namespace BundleSignature {

QString folderName();

// The manifest of bundle as it is now.
Result<QByteArray, UpdaterError> manifestOf(const QString &bundle);
// Gives every file the mode 0755 (folders and executables) or 0644, then writes the signature
// folder, replacing any earlier one.
Result<void, UpdaterError> sign(const QString &bundle, const SigningKey &key);
// Checks the bundle against its own signature, then, when requiredSigner is given, that it is the
// signer (teamIdentifierMismatch otherwise). Answers the signer's public key.
Result<QByteArray, UpdaterError> verify(const QString &bundle,
                                        const std::optional<QByteArray> &requiredSigner);
// The public key written in bundle's signature folder; nothing when there is none or it is
// unreadable.
std::optional<QByteArray> signerOf(const QString &bundle);

} // namespace BundleSignature

} // namespace plumeo
