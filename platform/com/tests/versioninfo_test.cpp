#include "comtestenv.h"

#include "platform/com/versioninfo.h"

#include <QFile>

namespace velmora::com::test {
namespace {

class VersionInfo : public ComEnvironment {};

TEST_F(VersionInfo, ReadsTheIdentityWithoutLoading) {
    TFileVersionInfomation v;
    ASSERT_TRUE(ReadVersionInfo(plugin("comtest_recorder"), v, QStringLiteral("ProductName")));
    EXPECT_EQ(v.FileVersion, "2.0.1.7");
    EXPECT_EQ(v.ProductVersion, "2.0.0.1");
    EXPECT_EQ(v.InternalName, "900001");
    EXPECT_EQ(v.LegalTrademarks, "Recorder");
    EXPECT_EQ(v.ProductName, "rec");
    EXPECT_EQ(v.OriginalFileName, "test");
    EXPECT_EQ(v.Comments, "{3F2A8C10-5D4B-4E6F-9A71-0B2C3D4E5F60}");
    EXPECT_TRUE(v.CompanyName.isEmpty());
    EXPECT_EQ(v.Extra, "rec");
    EXPECT_EQ(v.FixedInfo.signature, 0xFEEF04BDu);
    EXPECT_EQ(v.FixedInfo.fileVersionMS, 0x00020000u);
    EXPECT_EQ(v.FixedInfo.fileVersionLS, 0x00010007u);
    EXPECT_EQ(v.FixedInfo.productVersionLS, 0x00000001u);
    EXPECT_EQ(v.FixedInfo.fileType, 2u);

    ASSERT_TRUE(ReadVersionInfo(plugin("comtest_noid"), v));
    EXPECT_TRUE(v.Comments.isEmpty());
    EXPECT_EQ(v.LegalTrademarks, "NoId");
}

TEST_F(VersionInfo, FilesWithoutAnIdentityGiveFalseAndEmptyFields) {
    TFileVersionInfomation v;
    v.FileVersion = "stale";
    EXPECT_FALSE(ReadVersionInfo(m_dir.filePath("missing.so"), v));
    EXPECT_TRUE(v.FileVersion.isEmpty());

    // The test program itself is an ELF file without the block.
    EXPECT_FALSE(ReadVersionInfo(QStringLiteral("/proc/self/exe"), v));

    // Every truncation of a real library, and a few corruptions, are refused or read in bounds.
    QFile lib(plugin("comtest_recorder"));
    ASSERT_TRUE(lib.open(QIODevice::ReadOnly));
    const QByteArray bytes = lib.readAll();
    const QString path = m_dir.filePath("cut.so");
    auto readFrom = [&](const QByteArray& content) {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        f.close();
        TFileVersionInfomation out;
        return ReadVersionInfo(path, out);
    };
    for (qsizetype cut : {qsizetype(0), qsizetype(3), qsizetype(16), qsizetype(63), qsizetype(64),
                          bytes.size() / 2, bytes.size() - 1}) {
        EXPECT_FALSE(readFrom(bytes.left(cut))) << cut;
    }
    QByteArray corrupt = bytes;
    for (int i = 0x28; i < 0x30; ++i) corrupt[i] = char(0xFF);  // section table offset
    EXPECT_FALSE(readFrom(corrupt));
    corrupt = bytes;
    corrupt[0x3C] = char(0xFF);  // section count
    corrupt[0x3D] = char(0xFF);
    EXPECT_FALSE(readFrom(corrupt));
    corrupt = bytes;
    corrupt[5] = 2;  // big-endian
    EXPECT_FALSE(readFrom(corrupt));
    EXPECT_TRUE(readFrom(bytes));
}

TEST(IdentityBlock, QueryStopsAtTheEndOfTheBlock) {
    QByteArray block(64, '\0');
    block += QByteArray("\\A\0one\0\\B\0", 10);  // "\B" has no value terminator
    EXPECT_EQ(queryIdentityValue(block, "\\A"), QString("one"));
    EXPECT_EQ(queryIdentityValue(block, "\\a"), QString("one"));
    EXPECT_FALSE(queryIdentityValue(block, "\\B"));
    EXPECT_FALSE(queryIdentityValue(QByteArray(10, 'x'), "\\A"));
}

}  // namespace
}  // namespace velmora::com::test
