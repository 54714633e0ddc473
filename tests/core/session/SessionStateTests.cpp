#include "session/SessionState.h"

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

SessionState twoWindows()
{
    SessionState session;
    session.windows.push_back({{{QStringLiteral("/home/user/a.txt"), {}, 12, 4, 30},
                                {{}, QStringLiteral("untitled-1.plumeo-autosave"), 5, 5, 0}},
                               1});
    session.windows.push_back({{{QStringLiteral("/home/user/b é.md"), {}, 0, 0, 0}}, 0});
    return session;
}

QByteArray tabs(int count, const QByteArray &tab)
{
    QByteArray list;
    for (int i = 0; i < count; ++i)
        list += (i ? "," : "") + tab;
    return "{\"version\":1,\"windows\":[{\"current\":0,\"tabs\":[" + list + "]}]}";
}

const QByteArray aTab("{\"filePath\":\"/home/a.txt\",\"caret\":0,\"anchor\":0,\"scroll\":0}");

} // namespace

TEST(SessionState, WindowsTabsAndPositionsComeBack)
{
    const SessionState session = twoWindows();
    const auto back = SessionState::fromJson(session.toJson());
    ASSERT_TRUE(back) << back.error().toStdString();
    EXPECT_EQ(back.value(), session);
    EXPECT_TRUE(SessionState::fromJson(tabs(SessionState::tabLimit, aTab)));
}

TEST(SessionState, DamagedOrHostileSessionsAreRefusedWhole)
{
    const QByteArray good = twoWindows().toJson();
    for (const QByteArray &bad : {
             QByteArray(),
             good.left(good.size() / 2),
             QByteArray("[1, 2, 3]"),
             QByteArray("\xff\xfe{\0\"\0", 6),
             QByteArray("{\"version\":2,\"windows\":[]}"),
             QByteArray("{\"version\":1,\"windows\":{}}"),
             // Ten thousand tabs, a window without tabs, a front tab that does not exist.
             tabs(10000, aTab),
             tabs(SessionState::tabLimit + 1, aTab),
             QByteArray("{\"version\":1,\"windows\":[{\"current\":0,\"tabs\":[]}]}"),
             QByteArray("{\"version\":1,\"windows\":[{\"current\":3,\"tabs\":[" + aTab + "]}]}"),
             // Paths that lead where a session never goes.
             tabs(1, "{\"filePath\":\"/proc/self/mem\",\"caret\":0,\"anchor\":0,\"scroll\":0}"),
             tabs(1, "{\"filePath\":\"notes.txt\",\"caret\":0,\"anchor\":0,\"scroll\":0}"),
             tabs(1,
                  "{\"untitledCopy\":\"../../etc/passwd\",\"caret\":0,\"anchor\":0,\"scroll\":0}"),
             tabs(1, "{\"untitledCopy\":\"/etc/passwd.plumeo-autosave\",\"caret\":0,\"anchor\":0,"
                     "\"scroll\":0}"),
             tabs(1, "{\"caret\":0,\"anchor\":0,\"scroll\":0}"),
             // Positions of the wrong kind.
             tabs(1, "{\"filePath\":\"/home/a.txt\",\"caret\":-1,\"anchor\":0,\"scroll\":0}"),
             tabs(1, "{\"filePath\":\"/home/a.txt\",\"caret\":1.5,\"anchor\":0,\"scroll\":0}"),
             tabs(1, "{\"filePath\":\"/home/a.txt\",\"caret\":\"0\",\"anchor\":0,\"scroll\":0}"),
             tabs(1, "{\"filePath\":\"/home/a.txt\",\"caret\":1e300,\"anchor\":0,\"scroll\":0}"),
         })
        EXPECT_FALSE(SessionState::fromJson(bad)) << bad.left(120).toStdString();
    // Over a hundred windows.
    QByteArray windows = "{\"version\":1,\"windows\":[";
    for (int i = 0; i <= SessionState::windowLimit; ++i)
        windows += (i ? ",{\"current\":0,\"tabs\":[" : "{\"current\":0,\"tabs\":[") + aTab + "]}";
    EXPECT_FALSE(SessionState::fromJson(windows + "]}"));
}
