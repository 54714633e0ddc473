#pragma once

#include <optional>

#include <QString>

namespace plumeo {

// Why a check for updates or an installation failed. Descriptions are built when read, in the
// interface language of that moment. Equality compares the kind and every payload.
//
// systemFailure carries a description that the system or the network layer already wrote (a
// refused connection, a full disk); it is shown as it is.
class UpdaterError
{
public:
    enum Kind {
        invalidUpdateURL,
        invalidHTTPStatus,
        malformedManifest,
        checksumMismatch,
        extractionFailed,
        invalidCodeSignature,
        teamIdentifierMismatch,
        installationFailed,
        noZipAssetFound,
        appBundleNotFound,
        systemFailure,
    };

    static UpdaterError invalidUpdateUrl(QString text) { return {invalidUpdateURL, text}; }
    static UpdaterError invalidHttpStatus(int status) { return {invalidHTTPStatus, {}, status}; }
    static UpdaterError malformed(QString detail) { return {malformedManifest, detail}; }
    static UpdaterError checksum(QString expected, QString actual)
    {
        return {checksumMismatch, {}, 0, expected, actual};
    }
    static UpdaterError extraction(QString text) { return {extractionFailed, text}; }
    static UpdaterError codeSignature(QString text) { return {invalidCodeSignature, text}; }
    // expected and actual are signers' team identifiers; actual is absent for an unsigned bundle.
    static UpdaterError teamMismatch(QString expected, std::optional<QString> actual)
    {
        return {teamIdentifierMismatch, {}, 0, expected, actual};
    }
    static UpdaterError installation(QString text) { return {installationFailed, text}; }
    static UpdaterError noZipAsset() { return {noZipAssetFound}; }
    static UpdaterError noAppBundle() { return {appBundleNotFound}; }
    static UpdaterError system(QString description) { return {systemFailure, description}; }

    Kind kind() const { return m_kind; }
    // The text payload: URL text, manifest detail, extraction, signature or installation text, or
    // the system's description.
    const QString &text() const { return m_text; }
    int httpStatus() const { return m_status; }
    const QString &expected() const { return m_expected; }
    const std::optional<QString> &actual() const { return m_actual; }

    QString errorDescription() const;

    friend bool operator==(const UpdaterError &, const UpdaterError &) = default;

private:
    UpdaterError(Kind kind,
                 QString text = {},
                 int status = 0,
                 QString expected = {},
                 std::optional<QString> actual = std::nullopt)
        : m_kind(kind)
        , m_text(std::move(text))
        , m_status(status)
        , m_expected(std::move(expected))
        , m_actual(std::move(actual))
    {}

    Kind m_kind;
    QString m_text;
    int m_status = 0;
    QString m_expected;
    std::optional<QString> m_actual;
};

} // namespace plumeo
