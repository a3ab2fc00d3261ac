#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/shell/shellpaths.h"

using namespace velmora::platform;

TEST(ShellPaths, ForceFileDirsCreatesEveryFolderButNotTheFile) {
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/Morvane/10001/setting.ini");
    ASSERT_TRUE(ForceFileDirs(file));
    EXPECT_TRUE(QFileInfo(dir.path() + QStringLiteral("/Morvane/10001")).isDir());
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_TRUE(ForceFileDirs(file));  // already there
    EXPECT_TRUE(ForceFileDirs(QStringLiteral("plain.txt")));
}

TEST(ShellPaths, ForceFileDirsFailsWhenAFileBlocksThePath) {
    QTemporaryDir dir;
    QFile blocker(dir.path() + QStringLiteral("/blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(ForceFileDirs(dir.path() + QStringLiteral("/blocker/sub/file.ini")));
}

TEST(ShellPaths, FoldersEndWithSeparator) {
    EXPECT_TRUE(documentsFolder().endsWith(QLatin1Char('/')));
    EXPECT_TRUE(programFolder().endsWith(QLatin1Char('/')));
    qputenv("VELMORA_APP_DIR", "/opt/velmora");
    EXPECT_EQ(programFolder(), QStringLiteral("/opt/velmora/"));
    qunsetenv("VELMORA_APP_DIR");
}
