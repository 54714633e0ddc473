#pragma once

#include "AutosaveAlerts.h"
#include "RecoveryDialog.h"
#include "app/controller/ControllerTestSupport.h"
#include "core/io/IoTestSupport.h"
#include "document/DocumentAutosaver.h"
#include "io/FileReader.h"
#include "session/AutosaveRecord.h"
#include "session/AutosaveStore.h"

#include <QDirIterator>
#include <QTest>

namespace plumeo::testing {

// Every autosave file under root, whoever owns it.
inline QStringList autosaveFiles(const QString &root)
{
    QStringList found;
    QDirIterator it(root, {QStringLiteral("*.plumeo-autosave")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found.append(it.next());
    found.sort();
    return found;
}

inline std::optional<AutosaveRecord> recordAt(const QString &path)
{
    auto bytes = FileReader::readRegularFile(path);
    if (!bytes)
        return std::nullopt;
    auto record = AutosaveRecord::fromBytes(bytes.value());
    return record ? std::optional(record.value()) : std::nullopt;
}

// Leaves record as the autosave of a process that is gone; the path of the file.
inline QString leaveOrphan(const QString &root, const AutosaveRecord &record)
{
    auto store = AutosaveStore::claimNew(root);
    EXPECT_TRUE(store);
    EXPECT_TRUE(store.value()->write(QStringLiteral("document-1"), record.toBytes()));
    return store.value()->pathFor(QStringLiteral("document-1"));
}

// A document controller whose autosaves go to a state folder of the test's own, with the
// autosave messages and the recovery questions answered by the test.
class AutosaveTest : public ControllerTest
{
protected:
    void SetUp() override
    {
        previousState = qgetenv("PLUMEO_STATE_DIR");
        qputenv("PLUMEO_STATE_DIR", NativePath::encode(stateFolder()));
        ControllerTest::SetUp();
        AutosaveAlerts::setReceiverForTesting(
            [this](const DocumentError &message) { notices.push_back(message); });
        RecoveryDialog::setAnswerForTesting([this](const AutosaveRecord &record) {
            offered.push_back(record);
            return recoveryChoice;
        });
    }
    void TearDown() override
    {
        ControllerTest::TearDown();
        RecoveryDialog::setAnswerForTesting({});
        AutosaveAlerts::setReceiverForTesting({});
        qputenv("PLUMEO_STATE_DIR", previousState);
    }

    QString stateFolder() const { return dir.filePath(QStringLiteral("state")); }
    QString root() const { return stateFolder() + QStringLiteral("/autosave"); }
    DocumentAutosaver *autosaver() { return controller()->autosaver(); }

    std::vector<DocumentError> notices;
    std::vector<AutosaveRecord> offered;
    RecoveryDialog::Choice recoveryChoice = RecoveryDialog::Choice::restore;
    QByteArray previousState;
};

} // namespace plumeo::testing
