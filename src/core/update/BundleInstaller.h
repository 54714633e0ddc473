#pragma once

#include "base/Result.h"
#include "update/UpdaterError.h"

#include <functional>
#include <optional>

#include <QByteArray>
#include <QString>

namespace plumeo {

// Replaces an installed bundle by a verified new one so that, whatever happens and whenever the
// process dies, a complete bundle stays at the destination: either the old one or the new one.
//
// The new bundle is copied (and flushed to disk) into a staging folder beside the destination,
// ".<name>.update-new", and verified there again, so that what is swapped in is exactly what was
// checked. Then the two folders are exchanged in one atomic rename (renameat2 RENAME_EXCHANGE);
// where the file system cannot exchange, the old bundle is first renamed to ".<name>.update-old"
// and the staged one renamed into place, the old one being renamed back if that fails. Only then
// is the old bundle deleted.
//
// recover() puts things right after a process died on the way: it runs at the start of every
// installation and should run at launch. Names are never given to a shell.
class BundleInstaller
{
public:
    // Moments at which a test may stop the process.
    enum class Step { staged, oldMovedAside, swapped, done };

    explicit BundleInstaller(QString destination);

    QString destination() const { return m_destination; }
    QString stagingPath() const;
    QString backupPath() const;

    // Called at each step; tests kill the process from it.
    void setCheckpoint(std::function<void(Step)> checkpoint)
    {
        m_checkpoint = std::move(checkpoint);
    }
    // Forces the two-rename way, for file systems without atomic exchange (and for tests).
    void setAtomicExchange(bool enabled) { m_atomicExchange = enabled; }

    // Installs newBundle at the destination after verifying the staged copy with requiredSigner.
    // On failure the destination is as it was and nothing is left beside it.
    Result<void, UpdaterError> install(const QString &newBundle,
                                       const std::optional<QByteArray> &requiredSigner);

    // After an interrupted installation: the old bundle renamed back when the destination is
    // missing, and leftovers removed once a bundle is in place.
    static void recover(const QString &destination);

private:
    void reach(Step step) const;

    QString m_destination;
    std::function<void(Step)> m_checkpoint;
    bool m_atomicExchange = true;
};

} // namespace plumeo
