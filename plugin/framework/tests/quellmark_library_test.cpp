// The built plug-in library, read as a file: its exported symbols and its identity.

#include "platform/com/versioninfo.h"

#include <QProcess>
#include <QSet>
#include <gtest/gtest.h>

namespace velmora::plugin::test {
namespace {

QString quellmarkPath() {
    return qEnvironmentVariable("VELMORA_BIN_DIR") + QStringLiteral("/games/libquellmark.so");
}

TEST(QuellmarkLibrary, ExportsExactlyTheFourEntryPoints) {
    ASSERT_FALSE(qEnvironmentVariable("VELMORA_BIN_DIR").isEmpty());
    QProcess nm;
    nm.start(QStringLiteral("nm"), {QStringLiteral("-D"), QStringLiteral("--defined-only"), quellmarkPath()});
    ASSERT_TRUE(nm.waitForFinished(30000));
    ASSERT_EQ(nm.exitCode(), 0) << nm.readAllStandardError().toStdString();
    QSet<QString> symbols;
    for (const QByteArray& line : nm.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.simplified().split(' ');
        // "address type name"; the version node of the script shows up as an absolute symbol.
        if (parts.size() == 3 && parts[1] != "A") symbols.insert(QString::fromLatin1(parts[2]));
    }
    EXPECT_EQ(symbols, (QSet<QString>{"DllUnregisterServer", "DllRegisterServer", "DllCanUnloadNow",
                                      "DllGetClassObject"}));
}

TEST(QuellmarkLibrary, IdentityReadWithoutLoading) {
    com::TFileVersionInfomation v;
    ASSERT_TRUE(com::ReadVersionInfo(quellmarkPath(), v));
    EXPECT_EQ(v.FileVersion, "1.3.64.65");
    EXPECT_EQ(v.ProductVersion, "1.3.64.2");
    EXPECT_EQ(v.InternalName, "100001");
    EXPECT_EQ(v.LegalTrademarks, "Landlord");
    EXPECT_EQ(v.ProductName, "qmk");
    EXPECT_EQ(v.Comments, "{6A1C3E52-9B47-4D2E-8F10-3C5B7A2D9E41}");
    EXPECT_EQ(v.OriginalFileName, QStringLiteral("棋牌"));
    EXPECT_EQ(v.FixedInfo.fileVersionMS, (1u << 16) | 3u);
    EXPECT_EQ(v.FixedInfo.fileVersionLS, (64u << 16) | 65u);
    EXPECT_EQ(v.FixedInfo.productVersionLS, (64u << 16) | 2u);
}

}  // namespace
}  // namespace velmora::plugin::test
