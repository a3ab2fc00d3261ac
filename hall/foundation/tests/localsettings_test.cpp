#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "hall/foundation/debuglog.h"
#include "hall/foundation/hallcontext.h"
#include "hall/foundation/localsettings.h"
#include "platform/ini/inifile.h"

using namespace velmora::hall;

TEST(GameSetting, DefaultsWhenTheFileIsMissing) {
    QTemporaryDir dir;
    EXPECT_EQ(ReadGameSetting(PlayerSettingPath(dir.path(), 10001)), STRU_GAMESETTING{});
}

TEST(GameSetting, FlagsAreTrueOnlyForExactlyTrue) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/setting.ini");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[GAME]\r\nsameip=true\r\nshowvideo=True\r\nshowflash=1\r\nfleenumber=250\r\n"
            "invite=2\r\npassword=ab12\r\nfleesetting= true \r\n");
    f.close();
    const STRU_GAMESETTING s = ReadGameSetting(path);
    EXPECT_TRUE(s.sameip);
    EXPECT_FALSE(s.showvideo);
    EXPECT_FALSE(s.showflash);
    EXPECT_TRUE(s.fleesetting);  // blanks around values are not part of them
    EXPECT_EQ(s.fleenumber, 10);  // out of range: default
    EXPECT_EQ(s.invite, 2);
    EXPECT_EQ(s.password, QStringLiteral("ab12"));
}

TEST(GameSetting, WriteCreatesThePlayerFolderAndRoundTrips) {
    QTemporaryDir dir;
    const QString path = PlayerSettingPath(dir.path() + QStringLiteral("/"), 10002);
    EXPECT_EQ(path, dir.path() + QStringLiteral("/Morvane/10002/setting.ini"));
    STRU_GAMESETTING s;
    s.sameip = true;
    s.fleenumber = 35;
    s.password = QStringLiteral("pw99");
    s.invite = 1;
    s.showflash = false;
    ASSERT_TRUE(WriteGameSetting(path, s));
    EXPECT_EQ(ReadGameSetting(path), s);
}

TEST(LastRoom, RoundTripsAndUnreadableTimeIsLongAgo) {
    QTemporaryDir dir;
    const QString path = PlayerSettingPath(dir.path(), 10003);
    EXPECT_EQ(ReadLastRoom(path).roomId, 0);
    const QDateTime when(QDate(2026, 12, 11), QTime(23, 59, 58));
    ASSERT_TRUE(WriteLastRoom(path, 12, when));
    EXPECT_EQ(ReadLastRoom(path).roomId, 12);
    EXPECT_EQ(ReadLastRoom(path).time, when);
    velmora::platform::IniFile(path).writeString(QStringLiteral("GAME"), QStringLiteral("lastroomtime"),
                                                 QStringLiteral("yesterday"));
    EXPECT_FALSE(ReadLastRoom(path).time.isValid());
}

TEST(GameIni, UpdateTimeFallsBackToTheProgramVersion) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/game.ini");
    EXPECT_EQ(ReadUpdateTime(path, QStringLiteral("1.3.64")), QStringLiteral("1.3.64"));
    velmora::platform::IniFile(path).writeString(QStringLiteral("GAME"), QStringLiteral("updateTime"),
                                                 QStringLiteral("20261201"));
    EXPECT_EQ(ReadUpdateTime(path, QStringLiteral("1.3.64")), QStringLiteral("20261201"));
}

TEST(DebugLogs, WrittenOnlyWhileSwitchedOn) {
    QTemporaryDir dir;
    HallContext::reset();
    OpenDebugLogs(dir.path());
    WriteDebugLog(QStringLiteral("ignored"), DebugLog::OverCommand);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    HallContext::instance().DebugLogOn = true;
    OpenDebugLogs(dir.path());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 6);
    WriteDebugLog(QStringLiteral("命令 11"), 5);
    WriteDebugLog(QStringLiteral("bad index"), 6);
    CloseDebugLogs();
    QFile f(dir.path() + QStringLiteral("/gameovercomm.txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray content = f.readAll();
    const QList<QByteArray> lines = content.split('\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d \\S+\r$"))
                    .match(QString::fromLatin1(lines[0])).hasMatch());
    EXPECT_EQ(lines[1], QByteArray("\xC3\xFC\xC1\xEE 11\r"));
    EXPECT_EQ(lines[2], QByteArray("----------------------------------\r"));
    EXPECT_EQ(lines[3], QByteArray("\r"));
    HallContext::reset();
}
