#include "LocalHttpServer.h"
#include "UpdateTestSupport.h"
#include "text/UserDefaults.h"
#include "update/CurrentBuild.h"
#include "update/ReleaseFetcher.h"
#include "update/ReleaseParser.h"
#include "update/ReleaseVersion.h"
#include "update/UpdateEndpoint.h"
#include "update/UpdateSchedule.h"
#include "update/UpdaterConstants.h"

#include <QNetworkAccessManager>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

const QString digest64 =
    QStringLiteral("0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef");

Result<ReleaseInfo, UpdaterError> gitHub(const char *json)
{
    return ReleaseParser::parseGitHubRelease(QByteArray(json));
}

Result<ReleaseInfo, UpdaterError> manifest(const char *json)
{
    return ReleaseParser::parseManifest(QByteArray(json), QStringLiteral("com.vantle.plumeo"));
}

UpdaterError errorOf(const Result<ReleaseInfo, UpdaterError> &result)
{
    EXPECT_FALSE(result.hasValue());
    return result.hasValue() ? UpdaterError::system(QStringLiteral("no error")) : result.error();
}

} // namespace

TEST(UpdaterErrorTest, DescriptionsInBothLanguages)
{
    const struct
    {
        UpdaterError error;
        QString fr, en;
    } cases[] = {
        {UpdaterError::invalidUpdateUrl(QStringLiteral("nope")),
         QStringLiteral("URL de mise à jour invalide : nope"),
         QStringLiteral("Invalid update URL: nope")},
        {UpdaterError::invalidHttpStatus(404),
         QStringLiteral("Le serveur de mise à jour a répondu avec le code HTTP 404."),
         QStringLiteral("The update server returned HTTP status 404.")},
        {UpdaterError::malformed(QStringLiteral("missing 'version'")),
         QStringLiteral("Manifeste de mise à jour invalide (missing 'version')."),
         QStringLiteral("Malformed update manifest (missing 'version').")},
        {UpdaterError::checksum(QStringLiteral("aaaaaaaaaaaabbbb"),
                                QStringLiteral("cccccccccccccddd")),
         QStringLiteral("L’empreinte SHA-256 ne correspond pas (attendu : aaaaaaaaaaaa…, reçu : "
                        "cccccccccccc…)."),
         QStringLiteral(
             "SHA-256 checksum mismatch (expected: aaaaaaaaaaaa…, got: cccccccccccc…).")},
        {UpdaterError::extraction(QStringLiteral("x")),
         QStringLiteral("Échec de l’extraction de l’archive : x"),
         QStringLiteral("Failed to extract archive: x")},
        {UpdaterError::codeSignature(QStringLiteral("x")),
         QStringLiteral("Signature de code invalide : x"),
         QStringLiteral("Invalid code signature: x")},
        {UpdaterError::teamMismatch(QStringLiteral("AB"), std::nullopt),
         QStringLiteral("Identifiant d’équipe incohérent (attendu : AB, reçu : aucun)."),
         QStringLiteral("TeamIdentifier mismatch (expected: AB, got: none).")},
        {UpdaterError::teamMismatch(QStringLiteral("AB"), QStringLiteral("CD")),
         QStringLiteral("Identifiant d’équipe incohérent (attendu : AB, reçu : CD)."),
         QStringLiteral("TeamIdentifier mismatch (expected: AB, got: CD).")},
        {UpdaterError::installation(QStringLiteral("x")),
         QStringLiteral("Échec de l’installation : x"), QStringLiteral("Installation failed: x")},
        {UpdaterError::noZipAsset(),
         QStringLiteral("Aucune archive .zip trouvée dans la publication."),
         QStringLiteral("No .zip archive found in the release.")},
        {UpdaterError::noAppBundle(),
         QStringLiteral("Aucun paquet .app trouvé dans l’archive téléchargée."),
         QStringLiteral("No .app bundle found inside the downloaded archive.")},
    };
    for (const auto &c : cases) {
        {
            LanguageScope french(AppLanguage::fr);
            EXPECT_EQ(c.error.errorDescription(), c.fr);
        }
        LanguageScope english(AppLanguage::en);
        EXPECT_EQ(c.error.errorDescription(), c.en);
    }
    EXPECT_EQ(UpdaterError::invalidHttpStatus(404), UpdaterError::invalidHttpStatus(404));
    EXPECT_NE(UpdaterError::invalidHttpStatus(404), UpdaterError::invalidHttpStatus(500));
    EXPECT_NE(UpdaterError::extraction(QStringLiteral("x")),
              UpdaterError::codeSignature(QStringLiteral("x")));
}

TEST(ReleaseVersionTest, NormalisationComparisonAndNewerTest)
{
    EXPECT_EQ(ReleaseVersion::normalize(QStringLiteral("  v2.0 \n")), QStringLiteral("2.0"));
    EXPECT_EQ(ReleaseVersion::normalize(QStringLiteral("vV1")), QStringLiteral("1"));
    EXPECT_EQ(ReleaseVersion::numericComponents(QStringLiteral("1.2.3-beta+7")),
              (QList<qint64>{1, 2, 3}));
    EXPECT_EQ(ReleaseVersion::numericComponents(QStringLiteral("1.x.2")), (QList<qint64>{1, 0, 2}));
    EXPECT_EQ(ReleaseVersion::numericComponents(QStringLiteral("2..1")), (QList<qint64>{2, 1}));
    EXPECT_EQ(ReleaseVersion::numericComponents(QStringLiteral("1.+2")), (QList<qint64>{1}));
    EXPECT_EQ(ReleaseVersion::compare(QStringLiteral("1.2"), QStringLiteral("1.2.0")), 0);
    EXPECT_EQ(ReleaseVersion::compare(QStringLiteral("1.10"), QStringLiteral("1.9")), 1);
    EXPECT_EQ(ReleaseVersion::compare(QStringLiteral("1.9"), QStringLiteral("v1.10")), -1);
    EXPECT_EQ(ReleaseVersion::compare(QStringLiteral("2.0-beta"), QStringLiteral("2.0")), 0);

    const QString v12 = QStringLiteral("1.2");
    EXPECT_FALSE(ReleaseVersion::isNewer(v12, 10, v12, std::nullopt));
    EXPECT_FALSE(ReleaseVersion::isNewer(v12, std::nullopt, v12, 3));
    EXPECT_TRUE(ReleaseVersion::isNewer(v12, 10, v12, 9));
    EXPECT_FALSE(ReleaseVersion::isNewer(v12, 9, v12, 9));
    EXPECT_TRUE(ReleaseVersion::isNewer(QStringLiteral("1.3"), std::nullopt, v12, 99));
    EXPECT_FALSE(ReleaseVersion::isNewer(QStringLiteral("1.1"), 99, v12, 1));
    EXPECT_FALSE(ReleaseVersion::isNewer(QStringLiteral("2.0-beta"), std::nullopt,
                                         QStringLiteral("2.0"), std::nullopt));

    EXPECT_EQ(ReleaseVersion::parseBuildNumber(QStringLiteral(" +42\n")), 42);
    EXPECT_EQ(ReleaseVersion::parseBuildNumber(QStringLiteral("-3")), -3);
    EXPECT_EQ(ReleaseVersion::parseBuildNumber(QStringLiteral("4 2")), std::nullopt);
    EXPECT_EQ(ReleaseVersion::parseBuildNumber(QStringLiteral("")), std::nullopt);
    EXPECT_EQ(CurrentBuild::versionFrom(QStringLiteral("@VERSION@")), QStringLiteral("0.11.0"));
    EXPECT_EQ(CurrentBuild::versionFrom(QStringLiteral("v1.4")), QStringLiteral("1.4"));
    EXPECT_EQ(CurrentBuild::buildFrom(QStringLiteral("@BUILD@")), std::nullopt);
    EXPECT_EQ(CurrentBuild::buildFrom(QStringLiteral(" 57 ")), 57);
    EXPECT_FALSE(CurrentBuild::versionString().isEmpty());
}

TEST(ReleaseInfoTest, DisplayVersionNotesAndTrimming)
{
    ReleaseInfo info =
        ReleaseInfo::make(QStringLiteral(" v1.4.0"), 57,
                          QUrl(QStringLiteral("https://e.org/a.zip")), QStringLiteral(" ABC\n"));
    EXPECT_EQ(info.version, QStringLiteral("1.4.0"));
    EXPECT_EQ(info.displayVersion(), QStringLiteral("v1.4.0 (57)"));
    EXPECT_EQ(info.sha256, QStringLiteral("ABC"));
    EXPECT_EQ(info.notes(AppLanguage::en), QStringLiteral("No release notes provided."));
    EXPECT_EQ(info.notes(AppLanguage::fr), QStringLiteral("Aucune note de version fournie."));
    info.notesFr = QStringLiteral(" Bonjour ");
    EXPECT_EQ(info.notes(AppLanguage::en), QStringLiteral("Bonjour"));
    info.notesEn = QStringLiteral("  ");
    // A blank preferred note does not fall back to the other language.
    EXPECT_EQ(info.notes(AppLanguage::en), QStringLiteral("No release notes provided."));
    EXPECT_EQ(info.notes(AppLanguage::fr), QStringLiteral("Bonjour"));
}

TEST(ReleaseParserTest, GitHubRelease)
{
    const auto release = gitHub(R"({"tag_name":"v1.5.0","body":"Fixes.\nSHA-256: `)"
                                "0123456789ABCDEF0123456789abcdef0123456789abcdef0123456789abcdef"
                                R"(`","html_url":"https://github.com/o/r/releases/1",
        "published_at":"2026-01-02T03:04:05Z",
        "assets":[{"name":"notes.txt","browser_download_url":"https://e.org/notes.txt"},
                  {"name":"Plumeo-1.5.0.ZIP","browser_download_url":"https://e.org/Plumeo-1.5.0.ZIP"}]})");
    ASSERT_TRUE(release.hasValue());
    const ReleaseInfo &r = release.value();
    EXPECT_EQ(r.version, QStringLiteral("1.5.0"));
    EXPECT_EQ(r.build, std::nullopt);
    EXPECT_EQ(r.downloadUrl, QUrl(QStringLiteral("https://e.org/Plumeo-1.5.0.ZIP")));
    EXPECT_EQ(r.sha256, digest64);
    EXPECT_EQ(r.notesFr, r.notesEn);
    EXPECT_EQ(r.htmlUrl, QUrl(QStringLiteral("https://github.com/o/r/releases/1")));
    EXPECT_EQ(r.publishedAt, QStringLiteral("2026-01-02T03:04:05Z"));

    // The asset's own digest wins over the notes, in the case in which it is written.
    const auto withDigest =
        gitHub(R"({"tag_name":"2.0","body":"sha256 = )"
               "1111111111111111111111111111111111111111111111111111111111111111"
               R"(","assets":[{"name":"a.zip","browser_download_url":"https://e.org/a.zip",
        "digest":"SHA256:ABCDEF"}]})");
    ASSERT_TRUE(withDigest.hasValue());
    EXPECT_EQ(withDigest.value().sha256, QStringLiteral("ABCDEF"));
    const auto fromBody =
        gitHub(R"({"tag_name":"2.0","body":"sha256 = )"
               "1111111111111111111111111111111111111111111111111111111111111111"
               R"(","assets":[{"name":"a.zip","browser_download_url":"https://e.org/a.zip"}]})");
    ASSERT_TRUE(fromBody.hasValue());
    EXPECT_EQ(fromBody.value().sha256, QString(64, u'1'));
    EXPECT_EQ(ReleaseParser::extractSha256(QStringLiteral("sha256: abc")), std::nullopt);
}

TEST(ReleaseParserTest, GitHubReleaseRefusals)
{
    const QString parserError = errorOf(gitHub("{not json")).text();
    EXPECT_EQ(errorOf(gitHub("{not json")).kind(), UpdaterError::malformedManifest);
    EXPECT_FALSE(parserError.isEmpty());
    EXPECT_EQ(errorOf(gitHub("[1,2]")),
              UpdaterError::malformed(QStringLiteral("root is not a JSON object")));
    EXPECT_EQ(errorOf(gitHub(R"({"assets":[]})")),
              UpdaterError::malformed(QStringLiteral("missing 'tag_name'")));
    EXPECT_EQ(errorOf(gitHub(R"({"tag_name":"  ","assets":[]})")),
              UpdaterError::malformed(QStringLiteral("missing 'tag_name'")));
    EXPECT_EQ(errorOf(gitHub(R"({"tag_name":"vV","assets":[]})")),
              UpdaterError::malformed(QStringLiteral("empty version in 'tag_name'")));
    EXPECT_EQ(errorOf(gitHub(R"({"tag_name":"1.0"})")), UpdaterError::noZipAsset());
    EXPECT_EQ(errorOf(gitHub(R"({"tag_name":"1.0","assets":{}})")), UpdaterError::noZipAsset());
    EXPECT_EQ(errorOf(gitHub(R"({"tag_name":"1.0","assets":[{"name":"a.tar.gz",
        "browser_download_url":"https://e.org/a.tar.gz"}]})")),
              UpdaterError::noZipAsset());
    EXPECT_EQ(errorOf(gitHub(R"({"tag_name":"1.0","assets":[{"name":"a.zip"}]})")),
              UpdaterError::noZipAsset());
    // Only TLS, or a server on this machine.
    EXPECT_EQ(errorOf(gitHub(R"({"tag_name":"1.0","assets":[{"name":"a.zip",
        "browser_download_url":"http://e.org/a.zip"}]})")),
              UpdaterError::noZipAsset());
    EXPECT_EQ(errorOf(gitHub(R"({"tag_name":"1.0","assets":[{"name":"a.zip",
        "browser_download_url":"file:///tmp/a.zip"}]})")),
              UpdaterError::noZipAsset());
}

TEST(ReleaseParserTest, Manifest)
{
    const auto simple = manifest(R"({"version":"v1.3","url":"https://e.org/p.zip","build":"42",
        "sha256":" ","notes":"n","notes_en":"english","page_url":"https://e.org/p","date":"today"})");
    ASSERT_TRUE(simple.hasValue());
    EXPECT_EQ(simple.value().version, QStringLiteral("1.3"));
    EXPECT_EQ(simple.value().build, 42);
    EXPECT_EQ(simple.value().sha256, std::nullopt);
    EXPECT_EQ(simple.value().notesFr, QStringLiteral("n"));
    EXPECT_EQ(simple.value().notesEn, QStringLiteral("english"));
    EXPECT_EQ(simple.value().htmlUrl, QUrl(QStringLiteral("https://e.org/p")));
    EXPECT_EQ(simple.value().publishedAt, QStringLiteral("today"));

    const auto apps = manifest(R"({"version":"9.9","url":"https://e.org/root.zip",
        "apps":{"com.vantle.plumeo":{"version":"2.1","download_url":"https://e.org/app.zip","build":7}}})");
    ASSERT_TRUE(apps.hasValue());
    EXPECT_EQ(apps.value().version, QStringLiteral("2.1"));
    EXPECT_EQ(apps.value().build, 7);
    EXPECT_EQ(apps.value().downloadUrl, QUrl(QStringLiteral("https://e.org/app.zip")));

    const auto keyed = manifest(R"({"com.vantle.plumeo":{"version":"3","url":12,
        "download_url":"https://e.org/k.zip","build":1.5}})");
    ASSERT_TRUE(keyed.hasValue());
    EXPECT_EQ(keyed.value().downloadUrl, QUrl(QStringLiteral("https://e.org/k.zip")));
    EXPECT_EQ(keyed.value().build, std::nullopt);

    const auto local = manifest(R"({"version":"3","downloadURL":"http://127.0.0.1:8080/p.zip"})");
    ASSERT_TRUE(local.hasValue());

    const auto asGitHub = manifest(R"({"tag_name":"4.0","assets":[{"name":"x.zip",
        "browser_download_url":"https://e.org/x.zip"}]})");
    ASSERT_TRUE(asGitHub.hasValue());
    EXPECT_EQ(asGitHub.value().version, QStringLiteral("4.0"));
}

TEST(ReleaseParserTest, ManifestRefusals)
{
    const UpdaterError noUrl = UpdaterError::malformed(QStringLiteral("missing or invalid 'url'"));
    EXPECT_EQ(errorOf(manifest("")).kind(), UpdaterError::malformedManifest);
    EXPECT_EQ(errorOf(manifest("\"text\"")).kind(), UpdaterError::malformedManifest);
    EXPECT_EQ(errorOf(manifest("[]")),
              UpdaterError::malformed(QStringLiteral("root is not a JSON object")));
    EXPECT_EQ(errorOf(manifest(R"({"url":"https://e.org/p.zip"})")),
              UpdaterError::malformed(QStringLiteral("missing 'version'")));
    EXPECT_EQ(errorOf(manifest(R"({"version":" \n","url":"https://e.org/p.zip"})")),
              UpdaterError::malformed(QStringLiteral("missing 'version'")));
    EXPECT_EQ(errorOf(manifest(R"({"version":1.2,"url":"https://e.org/p.zip"})")),
              UpdaterError::malformed(QStringLiteral("missing 'version'")));
    EXPECT_EQ(errorOf(manifest(R"({"version":"1.2"})")), noUrl);
    EXPECT_EQ(errorOf(manifest(R"({"version":"1.2","url":"  "})")), noUrl);
    EXPECT_EQ(errorOf(manifest(R"({"version":"1.2","url":"not a url"})")), noUrl);
    EXPECT_EQ(errorOf(manifest(R"({"version":"1.2","url":"http://evil.example/p.zip"})")), noUrl);
    EXPECT_EQ(errorOf(manifest(R"({"version":"1.2","url":"ftp://e.org/p.zip"})")), noUrl);
    EXPECT_EQ(errorOf(manifest(R"({"version":"1.2","url":"https://user:pw@e.org/p.zip"})")), noUrl);
}

TEST(UpdateEndpointTest, ResolutionOrderAndRefusals)
{
    QTemporaryDir dir;
    UserDefaults defaults(dir.filePath(QStringLiteral("settings.json")));
    std::optional<QString> variable;
    const auto environment = [&variable](const char *name) -> std::optional<QString> {
        return QByteArrayView(name) == "VANTLE_UPDATE_URL" ? variable : std::nullopt;
    };
    const QString repo = QStringLiteral("plumeo-editor/plumeo");
    const auto resolve = [&](const QString &compiled) {
        return UpdateEndpoint::resolve(repo, environment, defaults, compiled);
    };

    auto endpoint = resolve(QString());
    ASSERT_TRUE(endpoint.hasValue());
    EXPECT_EQ(endpoint.value(),
              (UpdateEndpoint{
                  UpdateEndpoint::githubLatestRelease,
                  QUrl(QStringLiteral(
                      "https://api.github.com/repos/plumeo-editor/plumeo/releases/latest"))}));
    endpoint = resolve(QStringLiteral("@PLUMEO_UPDATE_URL@"));
    EXPECT_EQ(endpoint.value().kind, UpdateEndpoint::githubLatestRelease);
    endpoint = resolve(QStringLiteral("https://compiled.example/m.json"));
    EXPECT_EQ(endpoint.value(),
              (UpdateEndpoint{UpdateEndpoint::customManifest,
                              QUrl(QStringLiteral("https://compiled.example/m.json"))}));
    defaults.set(UpdaterConstants::updateUrlKey(), QStringLiteral(" https://user.example/m.json "));
    endpoint = resolve(QStringLiteral("https://compiled.example/m.json"));
    EXPECT_EQ(endpoint.value().url, QUrl(QStringLiteral("https://user.example/m.json")));
    variable = QStringLiteral("   ");
    endpoint = resolve(QString());
    EXPECT_EQ(endpoint.value().url, QUrl(QStringLiteral("https://user.example/m.json")));
    variable = QStringLiteral("https://env.example/m.json\n");
    endpoint = resolve(QString());
    EXPECT_EQ(endpoint.value().url, QUrl(QStringLiteral("https://env.example/m.json")));

    // A present but invalid value stops the search instead of falling through.
    variable = QStringLiteral(" not a url ");
    endpoint = resolve(QString());
    ASSERT_FALSE(endpoint.hasValue());
    EXPECT_EQ(endpoint.error(), UpdaterError::invalidUpdateUrl(QStringLiteral("not a url")));
    variable = QStringLiteral("http://evil.example/m.json");
    EXPECT_EQ(resolve(QString()).error(),
              UpdaterError::invalidUpdateUrl(QStringLiteral("http://evil.example/m.json")));
    variable.reset();
    defaults.set(UpdaterConstants::updateUrlKey(), QStringLiteral("/etc/passwd"));
    EXPECT_EQ(resolve(QString()).error(),
              UpdaterError::invalidUpdateUrl(QStringLiteral("/etc/passwd")));
    defaults.remove(UpdaterConstants::updateUrlKey());
    EXPECT_EQ(resolve(QStringLiteral("file:///x")).error(),
              UpdaterError::invalidUpdateUrl(QStringLiteral("file:///x")));
    EXPECT_EQ(UpdateEndpoint::resolve(QStringLiteral("a/b?x=1"), environment, defaults, QString())
                  .error(),
              UpdaterError::invalidUpdateUrl(QStringLiteral("a/b?x=1")));
    EXPECT_EQ(
        UpdateEndpoint::resolve(QStringLiteral("../x"), environment, defaults, QString()).error(),
        UpdaterError::invalidUpdateUrl(QStringLiteral("../x")));
}

TEST(UpdateScheduleTest, AutomaticCheckOncePerInterval)
{
    const double day = UpdaterConstants::autoCheckIntervalSeconds;
    const double now = 1'800'000'000;
    EXPECT_TRUE(UpdateSchedule::shouldAutoCheck(true, std::nullopt, now, day));
    EXPECT_TRUE(UpdateSchedule::shouldAutoCheck(true, 0, now, day));
    EXPECT_TRUE(UpdateSchedule::shouldAutoCheck(true, -5, now, day));
    EXPECT_FALSE(UpdateSchedule::shouldAutoCheck(false, std::nullopt, now, day));
    EXPECT_FALSE(UpdateSchedule::shouldAutoCheck(false, now - 10 * day, now, day));
    EXPECT_FALSE(UpdateSchedule::shouldAutoCheck(true, now - 23 * 3600, now, day));
    EXPECT_TRUE(UpdateSchedule::shouldAutoCheck(true, now - day, now, day));
    // A check "made" in the future came from a wrong clock; it must not stop checks for years.
    EXPECT_TRUE(UpdateSchedule::shouldAutoCheck(true, now + 10 * 365 * day, now, day));
}

class ReleaseFetcherTest : public ::testing::Test
{
protected:
    Result<ReleaseInfo, UpdaterError>
    fetch(const QString &path, UpdateEndpoint::Kind kind, int timeoutMs = 10'000)
    {
        ReleaseFetcher fetcher(&network, QStringLiteral("com.vantle.plumeo"));
        fetcher.setTimeoutMs(timeoutMs);
        std::optional<Result<ReleaseInfo, UpdaterError>> answer;
        fetcher.fetch(
            UpdateEndpoint{kind, QUrl(server.url(path))},
            [&answer](const Result<ReleaseInfo, UpdaterError> &result) { answer = result; });
        EXPECT_TRUE(waitUntil([&answer] { return answer.has_value(); }));
        return answer.value_or(UpdaterError::system(QStringLiteral("no answer")));
    }

    LocalHttpServer server;
    QNetworkAccessManager network;
};

TEST_F(ReleaseFetcherTest, ManifestAndGitHubAnswersWithTheirHeaders)
{
    server.route(QStringLiteral("/m.json"),
                 {200, R"({"version":"7.0","url":"https://e.org/p.zip","build":3})", false});
    const auto release = fetch(QStringLiteral("/m.json"), UpdateEndpoint::customManifest);
    ASSERT_TRUE(release.hasValue());
    EXPECT_EQ(release.value().version, QStringLiteral("7.0"));
    EXPECT_EQ(server.lastHeaders().value("accept"), "application/json");
    EXPECT_EQ(server.lastHeaders().value("user-agent"),
              "Plumeo/" + CurrentBuild::versionString().toUtf8());

    server.route(QStringLiteral("/latest"), {200, R"({"tag_name":"v7.1","assets":[{"name":"p.zip",
        "browser_download_url":"https://e.org/p.zip"}]})",
                                             false});
    const auto latest = fetch(QStringLiteral("/latest"), UpdateEndpoint::githubLatestRelease);
    ASSERT_TRUE(latest.hasValue());
    EXPECT_EQ(latest.value().version, QStringLiteral("7.1"));
    EXPECT_EQ(server.lastHeaders().value("accept"), "application/vnd.github+json");
}

TEST_F(ReleaseFetcherTest, ServerFailuresAreRefused)
{
    EXPECT_EQ(fetch(QStringLiteral("/missing"), UpdateEndpoint::customManifest).error(),
              UpdaterError::invalidHttpStatus(404));
    server.route(QStringLiteral("/broken"), {500, "{}", false});
    EXPECT_EQ(fetch(QStringLiteral("/broken"), UpdateEndpoint::customManifest).error(),
              UpdaterError::invalidHttpStatus(500));
    server.route(QStringLiteral("/html"), {200, "<html>", false});
    EXPECT_EQ(fetch(QStringLiteral("/html"), UpdateEndpoint::customManifest).error().kind(),
              UpdaterError::malformedManifest);
    server.route(QStringLiteral("/huge"), {200, QByteArray(5 * 1024 * 1024, ' '), false});
    EXPECT_EQ(fetch(QStringLiteral("/huge"), UpdateEndpoint::customManifest).error().kind(),
              UpdaterError::malformedManifest);

    server.route(QStringLiteral("/stall"), {200, {}, true});
    LanguageScope english(AppLanguage::en);
    const auto stalled = fetch(QStringLiteral("/stall"), UpdateEndpoint::customManifest, 300);
    ASSERT_FALSE(stalled.hasValue());
    EXPECT_EQ(stalled.error(),
              UpdaterError::system(QStringLiteral("The update server did not respond in time.")));
}
