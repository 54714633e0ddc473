// Loads arbitrary bytes as the settings file, then changes a setting. Nothing may crash, and the
// file is never lost: a JSON object is loaded as it is and the file left untouched until a change
// rewrites it; anything else is moved aside byte for byte and stays so after the change.
//   build-fuzz/tests/fuzz/fuzz_settings -max_total_time=600 corpus/
#include "text/UserDefaults.h"

#include <cstdint>
#include <cstdlib>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QTemporaryDir>

using namespace plumeo;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    check(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

QTemporaryDir *folder = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static QTemporaryDir temporary(QDir::tempPath()
                                   + QStringLiteral("/plumeo-fuzz-settings-XXXXXX"));
    check(temporary.isValid());
    folder = &temporary;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    // A fresh folder for every input: a backup left by the previous one must not be in the way.
    QDir dir(folder->filePath(QStringLiteral("config")));
    dir.removeRecursively();
    check(dir.mkpath(QStringLiteral(".")));
    const QString path = dir.filePath(QStringLiteral("settings.json"));
    {
        QFile file(path);
        check(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }

    QJsonParseError error;
    const QJsonDocument parsed = QJsonDocument::fromJson(bytes, &error);
    const bool readable = error.error == QJsonParseError::NoError && parsed.isObject();

    UserDefaults defaults(path);
    if (readable) {
        check(defaults.backupPath().isEmpty());
        check(contents(path) == bytes); // loading never writes
        const QJsonObject object = parsed.object();
        for (auto it = object.begin(); it != object.end(); ++it) {
            check(defaults.contains(it.key()));
            check(defaults.value(it.key()) == it.value());
            // Typed reads of whatever type is stored never fail loudly.
            (void)defaults.string(it.key());
            (void)defaults.integer(it.key());
            (void)defaults.boolean(it.key());
            (void)defaults.stringList(it.key());
        }
    } else {
        check(!defaults.backupPath().isEmpty());
        check(contents(defaults.backupPath()) == bytes);
    }

    defaults.set(QStringLiteral("fuzzMarker"), 1);
    const QJsonDocument written = QJsonDocument::fromJson(contents(path), &error);
    check(error.error == QJsonParseError::NoError && written.isObject());
    check(written.object().value(QStringLiteral("fuzzMarker")) == 1);
    if (readable)
        check(written.object().size() == parsed.object().size() + 1
              || parsed.object().contains(QStringLiteral("fuzzMarker")));
    else
        check(contents(defaults.backupPath()) == bytes);
    return 0;
}
