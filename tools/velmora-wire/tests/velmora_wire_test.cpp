// Black-box tests: the built velmora-wire program, run as an operator would.
#include <gtest/gtest.h>

#include <QProcess>

namespace {

struct WireRun {
    int exitCode;
    QByteArray out;
    QByteArray err;
};

WireRun wire(const QStringList& args, const QByteArray& input = {}) {
    QProcess p;
    p.start(qEnvironmentVariable("VELMORA_BIN_DIR") + QStringLiteral("/velmora-wire"), args);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(10000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

}  // namespace

TEST(VelmoraWire, TextCommandsPrintOneLine) {
    struct Case {
        QStringList args;
        QByteArray out;
    } cases[] = {
        {{"scramble", "abcdefgh", "0|7_12|50|"}, "6z1Y74z36z\n"},
        {{"unscramble", "abcdefgh", "6z1Y74z36z"}, "0|7_12|50|\n"},
        {{"parse", "1|5_3|11|errcode=1301"}, "datatype=1 fsocket=5 seq=3 command=11 data=errcode=1301\n"},
        {{"body", "roomid=3&ROOMID=4", "RoomId"}, "3\n"},
        {{"urlencode", "a b&c"}, "a%20b%26c\n"},
        {{"urldecode", "a+b%41"}, "a bA\n"},
        {{"urlencode", QStringLiteral("斗地主")}, "%B6%B7%B5%D8%D6%F7\n"},
        {{"base64encode", QStringLiteral("斗地主")}, "tre12Nb3\n"},
        {{"base64decode", "tre12Nb3"}, QStringLiteral("斗地主\n").toUtf8()},
        {{"md5", "velmora"}, "8a6271004528ac41a24f57430cc1f84d\n"},
        {{"request", "--key", "abcdefgh", "7", "12", "50", ""}, "6z1Y74z36z\n"},
    };
    for (const auto& c : cases) {
        const WireRun r = wire(c.args);
        EXPECT_EQ(r.exitCode, 0) << c.args.join(' ').toStdString() << r.err.toStdString();
        EXPECT_EQ(r.out, c.out) << c.args.join(' ').toStdString();
    }
}

TEST(VelmoraWire, LoginAndRequestLinesParseBack) {
    const WireRun login = wire({"login-line", "4", "tok123", "10001"});
    ASSERT_EQ(login.exitCode, 0);
    ASSERT_TRUE(login.out.startsWith('4'));
    const WireRun request = wire({"request", "3", "2", "11", "roomid=12"});
    ASSERT_EQ(request.exitCode, 0);
    const WireRun back = wire({"unscramble", "VelmoraK", QString::fromLatin1(request.out.trimmed())});
    EXPECT_EQ(back.out, "0|3_2|11|roomid=12\n");
}

TEST(VelmoraWire, HexRoundTripsRawBytesPlainAndPacked) {
    QByteArray raw;
    for (int i = 0; i < 256; ++i) raw.append(static_cast<char>(i));
    for (const bool packed : {false, true}) {
        QStringList enc{"hexencode"};
        QStringList dec{"hexdecode"};
        if (packed) {
            enc << "--packed";
            dec << "--packed";
        }
        const WireRun e = wire(enc, raw);
        ASSERT_EQ(e.exitCode, 0);
        const WireRun d = wire(dec << QString::fromLatin1(e.out.trimmed()));
        ASSERT_EQ(d.exitCode, 0) << d.err.toStdString();
        EXPECT_EQ(d.out, raw) << "packed=" << packed;
    }
    EXPECT_EQ(wire({"hexencode"}, QByteArray("\x00\xAB", 2)).out, "00AB\n");
}

TEST(VelmoraWire, BadInputFailsWithOneLine) {
    const QStringList cases[] = {
        {},
        {"nonsense"},
        {"parse", "2|0_9|50|"},
        {"parse", "1|7|3|x=1"},
        {"scramble", "onlykey"},
        {"hexdecode", "ABC"},
        {"hexdecode", "ZZ"},
        {"hexdecode", "--packed", "0400000078DA"},
        {"base64decode", "@@@"},
        {"login-line", "10", "tok", "1"},
        {"login-line", "1", "tok", "x"},
        {"request", "a", "2", "3", "b"},
        {"request", "--key"},
    };
    for (const auto& args : cases) {
        const WireRun r = wire(args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    }
}
