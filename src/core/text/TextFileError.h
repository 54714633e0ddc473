#pragma once

#include "text/Encoding.h"

#include <optional>

#include <QString>

namespace plumeo {

// Why a file could not be read or written. The texts are chosen in the interface language when
// asked.
class TextFileError
{
public:
    enum Kind { unencodable, binary, undecodable };

    static TextFileError unencodableIn(const Encoding &target) { return {unencodable, target}; }
    static TextFileError binaryData() { return {binary, std::nullopt}; }
    static TextFileError undecodableData() { return {undecodable, std::nullopt}; }
    // The file was read again in encoding, chosen by the user, and its bytes are not valid in it.
    static TextFileError undecodableIn(const Encoding &encoding) { return {undecodable, encoding}; }

    Kind kind() const { return m_kind; }
    // The target encoding of an unencodable error; the encoding tried by an undecodableIn error.
    const std::optional<Encoding> &encoding() const { return m_encoding; }

    QString errorDescription() const;
    std::optional<QString> recoverySuggestion() const;

    friend bool operator==(const TextFileError &a, const TextFileError &b)
    {
        return a.m_kind == b.m_kind && a.m_encoding == b.m_encoding;
    }

private:
    TextFileError(Kind kind, std::optional<Encoding> encoding)
        : m_kind(kind)
        , m_encoding(std::move(encoding))
    {}

    Kind m_kind;
    std::optional<Encoding> m_encoding;
};

} // namespace plumeo
