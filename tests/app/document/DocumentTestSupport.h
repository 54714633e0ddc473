#pragma once

#include "document/TextDocument.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace plumeo::test {

inline QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A document read from bytes as plain text; fails the test when reading fails.
inline std::unique_ptr<TextDocument> plainDocument(const QByteArray &bytes)
{
    auto document = std::make_unique<TextDocument>();
    const auto read = document->read(bytes, TextDocument::plainTextType());
    EXPECT_TRUE(read.hasValue()) << (read ? "" : qPrintable(read.error().description));
    return document;
}

} // namespace plumeo::test
