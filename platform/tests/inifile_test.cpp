#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/codepage/codepage.h"
#include "platform/ini/inifile.h"

using namespace velmora::platform;

namespace {
QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}
}  // namespace

TEST(IniFile, MissingFileSectionOrKeyGivesDefault) {
    QTemporaryDir dir;
    IniFile ini(dir.path() + QStringLiteral("/none.ini"));
    EXPECT_EQ(ini.readString(QStringLiteral("GAME"), QStringLiteral("x"), QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_EQ(ini.readInteger(QStringLiteral("GAME"), QStringLiteral("x"), 7), 7);
    EXPECT_TRUE(ini.sections().isEmpty());
}

TEST(IniFile, ReadsLikeWindowsProfileFiles) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/game.ini");
    writeAll(path, "; comment\r\n[Game]\r\n  UpdateTime = 20261211 \r\nname=\"  quoted \"\r\n"
                   "num=12x\r\ndup=first\r\ndup=second\r\n[other]\r\nupdatetime=no\r\n"
                   "[GAME]\r\nlate=1\r\ncn=\xB6\xB7\xB5\xD8\xD6\xF7\r\n");
    IniFile ini(path);
    EXPECT_EQ(ini.readString(QStringLiteral("GAME"), QStringLiteral("updateTime")), QStringLiteral("20261211"));
    EXPECT_EQ(ini.readString(QStringLiteral("game"), QStringLiteral("NAME")), QStringLiteral("  quoted "));
    EXPECT_EQ(ini.readInteger(QStringLiteral("game"), QStringLiteral("num"), 5), 5);
    EXPECT_EQ(ini.readString(QStringLiteral("game"), QStringLiteral("dup")), QStringLiteral("first"));
    // Only the first section of a name is read, as the Windows profile functions do.
    EXPECT_EQ(ini.readString(QStringLiteral("game"), QStringLiteral("late"), QStringLiteral("-")), QStringLiteral("-"));
    EXPECT_EQ(ini.sections(), (QStringList{QStringLiteral("Game"), QStringLiteral("other")}));
    EXPECT_EQ(IniFile(path).readString(QStringLiteral("GAME"), QStringLiteral("cn"), QStringLiteral("none")),
              QStringLiteral("none"));
}

TEST(IniFile, WritesInPlaceAndKeepsTheRest) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/s.ini");
    writeAll(path, "; keep me\r\n[GAME]\r\nsameip=false\r\nlastroomid=3\r\n\r\n[VIDEO]\r\nx=1\r\n");
    IniFile ini(path);
    ASSERT_TRUE(ini.writeString(QStringLiteral("game"), QStringLiteral("LASTROOMID"), QStringLiteral("12")));
    ASSERT_TRUE(ini.writeString(QStringLiteral("GAME"), QStringLiteral("showvideo"), QStringLiteral("true")));
    ASSERT_TRUE(ini.writeString(QStringLiteral("NEW"), QStringLiteral("名字"), QStringLiteral("斗地主")));
    EXPECT_EQ(readAll(path),
              QByteArray("; keep me\r\n[GAME]\r\nsameip=false\r\nLASTROOMID=12\r\nshowvideo=true\r\n\r\n"
                         "[VIDEO]\r\nx=1\r\n\r\n[NEW]\r\n\xC3\xFB\xD7\xD6=\xB6\xB7\xB5\xD8\xD6\xF7\r\n"));
    EXPECT_EQ(ini.readString(QStringLiteral("new"), QStringLiteral("名字")), QStringLiteral("斗地主"));
}

TEST(IniFile, WriteCreatesFoldersAndLineBreaksCannotInjectKeys) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/Morvane/10001/setting.ini");
    IniFile ini(path);
    ASSERT_TRUE(ini.writeString(QStringLiteral("GAME"), QStringLiteral("password"), QStringLiteral("a\r\nsameip=true")));
    EXPECT_EQ(ini.readString(QStringLiteral("GAME"), QStringLiteral("sameip"), QStringLiteral("unset")), QStringLiteral("unset"));
    EXPECT_TRUE(ini.deleteKey(QStringLiteral("GAME"), QStringLiteral("password")));
    EXPECT_FALSE(ini.valueExists(QStringLiteral("GAME"), QStringLiteral("password")));
    EXPECT_TRUE(ini.eraseSection(QStringLiteral("GAME")));
    EXPECT_TRUE(ini.sections().isEmpty());
}
