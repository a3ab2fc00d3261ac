#include <gtest/gtest.h>

#include "hall/foundation/hallcontext.h"
#include "hall/foundation/publicfunc.h"

using namespace velmora::hall;

namespace {
QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) out.append(static_cast<char>(v));
    return out;
}
}  // namespace

TEST(Scramble, GoldenLinesWrittenByHand) {
    // Key characters 0x60..0x6F give the mask 6, 0x40..0x4F the mask 4.
    struct Case {
        QString text, key, wire;
    } cases[] = {
        {QStringLiteral("0|"), QStringLiteral("ab"), QStringLiteral("6z")},
        {QStringLiteral("0|7_12|50|"), QStringLiteral("aaaaaaaa"), QStringLiteral("6z1Y74z36z")},
        {QStringLiteral("a b"), QStringLiteral("A"), QStringLiteral("e%24f")},
        {QStringLiteral("中"), QStringLiteral("a"), QStringLiteral("%D1%BE")},  // U+4E2B in GBK
        {QString(), QStringLiteral("abc"), QString()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScrambleText(c.text, c.key), c.wire) << c.text.toStdString();
        EXPECT_EQ(UnscrambleText(c.wire, c.key), c.text) << c.wire.toStdString();
    }
}

TEST(Scramble, EmptyKeyUsesTheSessionKey) {
    HallContext::reset();
    HallContext::instance().EncodeKey = QStringLiteral("aaaaaaaa");
    EXPECT_EQ(ScrambleText(QStringLiteral("0|")), QStringLiteral("6z"));
    EXPECT_EQ(UnscrambleText(QStringLiteral("6z")), QStringLiteral("0|"));
    HallContext::reset();
    // No session key at all: the text is only escaped, never XORed with garbage.
    EXPECT_EQ(ScrambleText(QStringLiteral("0|")), QStringLiteral("0%7C"));
}

TEST(Scramble, RoundTripsTypicalLinesWithEveryRoomKeyShape) {
    const QString texts[] = {
        QStringLiteral("2|5_77|17|msg=%E4%BD%A0%E5%A5%BD&color=255"),
        QStringLiteral("0|3_2|11|roomid=12&password="),
        QStringLiteral("斗地主 房间 1 号桌 ready"),
        QStringLiteral("~!@#$%^&*()_+{}:\"<>?`-=[];',./"),
    };
    const QString keys[] = {QStringLiteral("Vx3kPq9L"), QStringLiteral("01234567"),
                            QStringLiteral("zzzzzzzz"), QStringLiteral("K")};
    for (const QString& key : keys)
        for (const QString& text : texts) {
            const QString wire = ScrambleText(text, key);
            for (QChar c : wire)
                ASSERT_TRUE(c.isLetterOrNumber() || c == QLatin1Char('%')) << wire.toStdString();
            // Chinese characters may scramble to code units without a GBK form; the round trip
            // holds for every character whose scrambled form exists in the code page.
            const QString back = UnscrambleText(wire, key);
            ASSERT_EQ(back.size(), text.size());
            for (qsizetype i = 0; i < text.size(); ++i)
                if (text.at(i).unicode() < 0x80) EXPECT_EQ(back.at(i), text.at(i));
        }
}

TEST(UrlCodec, EncodeAndDecodeAsTheHallDoes) {
    EXPECT_EQ(UrlEncodeText(QStringLiteral("a b&c")), QStringLiteral("a%20b%26c"));
    EXPECT_EQ(UrlEncodeText(QStringLiteral("-._~")), QStringLiteral("-._%7E"));
    EXPECT_EQ(UrlEncodeText(QStringLiteral("斗地主")), QStringLiteral("%B6%B7%B5%D8%D6%F7"));
    EXPECT_EQ(UrlDecodeText(QStringLiteral("a+b%41")), QStringLiteral("a bA"));
    EXPECT_EQ(UrlDecodeText(QStringLiteral("%b6%B7%B5%D8%D6%F7")), QStringLiteral("斗地主"));
    EXPECT_EQ(UrlDecodeText(QStringLiteral("x%zzy")), QStringLiteral("x") + QChar(0) + QStringLiteral("y"));  // not hex: byte 0
}

TEST(UrlCodec, PercentNearTheEndIsDefined) {
    struct Case {
        QString in, out;
    } cases[] = {
        {QStringLiteral("%"), QStringLiteral("%")},
        {QStringLiteral("ab%"), QStringLiteral("ab%")},
        {QStringLiteral("ab%4"), QStringLiteral("ab%4")},
        {QStringLiteral("ab%41"), QStringLiteral("abA")},
    };
    for (const auto& c : cases) EXPECT_EQ(UrlDecodeText(c.in), c.out) << c.in.toStdString();
}

TEST(UrlCodec, RoundTripTable) {
    const QString texts[] = {QString(), QStringLiteral("plain"), QStringLiteral("a&b=c|d e"),
                             QStringLiteral("你好，世界！"), QStringLiteral("100%")};
    for (const QString& t : texts) EXPECT_EQ(UrlDecodeText(UrlEncodeText(t)), t);
}

TEST(HexCodec, PlainGolden) {
    EXPECT_EQ(HexEncodeBytes(bytes({0x00, 0xAB})), QStringLiteral("00AB"));
    EXPECT_EQ(HexDecodeText(QStringLiteral("00ab")), bytes({0x00, 0xAB}));
    EXPECT_EQ(HexDecodeText(QStringLiteral("0G41")), bytes({0x00, 0x41}));  // non-hex pair gives 0
    EXPECT_EQ(HexDecodeText(QStringLiteral("414")), bytes({0x41}));         // odd length: last ignored
    EXPECT_EQ(HexDecodeText(QStringLiteral("4")), QByteArray());
}

TEST(HexCodec, PackedGoldenAndRoundTrip) {
    // Packed form of 00 AB: the text "00AB" packed (length 4, then zlib level 9), hex again.
    const QString golden = QStringLiteral("0400000078DA333070740200021800E4");
    EXPECT_EQ(HexEncodeBytes(bytes({0x00, 0xAB}), true), golden);
    EXPECT_EQ(HexDecodeText(golden, true), bytes({0x00, 0xAB}));
    QByteArray frame;
    for (int i = 0; i < 1000; ++i) frame.append(static_cast<char>(i * 7));
    EXPECT_EQ(HexDecodeText(HexEncodeBytes(frame, true), true), frame);
    EXPECT_EQ(HexDecodeText(QStringLiteral("0400"), true), QByteArray());  // damaged
}

TEST(PackCodec, RoundTripAndEmpty) {
    EXPECT_TRUE(PackBytes(QByteArray()).isEmpty());
    EXPECT_TRUE(UnpackBytes(QByteArray()).isEmpty());
    const QByteArray data = QByteArray("game frame ").repeated(50);
    const QByteArray packed = PackBytes(data);
    EXPECT_EQ(packed.left(4), bytes({0x26, 0x02, 0x00, 0x00}));  // 550 little-endian
    EXPECT_EQ(UnpackBytes(packed), data);
}

TEST(PackCodec, RejectsLyingOrDamagedStreams) {
    const QByteArray data = QByteArray("abcdef").repeated(10);  // 60 bytes
    const QByteArray packed = PackBytes(data);
    auto withLength = [&](quint32 n) {
        QByteArray p = packed;
        for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((n >> (8 * i)) & 0xFF);
        return p;
    };
    EXPECT_FALSE(TryUnpackBytes(withLength(59)).has_value());    // inflates long
    EXPECT_FALSE(TryUnpackBytes(withLength(61)).has_value());    // inflates short
    EXPECT_FALSE(TryUnpackBytes(withLength(0xFFFFFFFF)).has_value());  // absurd claim
    EXPECT_FALSE(TryUnpackBytes(packed.left(3)).has_value());
    EXPECT_FALSE(TryUnpackBytes(packed.left(packed.size() - 3)).has_value());  // truncated
    QByteArray flipped = packed;
    flipped[10] = static_cast<char>(flipped[10] ^ 0x55);
    EXPECT_NE(TryUnpackBytes(flipped), std::optional<QByteArray>(data));
    EXPECT_TRUE(UnpackBytes(withLength(61)).isEmpty());
}

TEST(Base64Codec, GoldenAndLineBreaks) {
    EXPECT_EQ(Base64EncodeText(QStringLiteral("斗地主")), QStringLiteral("tre12Nb3"));
    EXPECT_EQ(Base64DecodeText(QStringLiteral("tre12Nb3")), QStringLiteral("斗地主"));
    const QString longText(100, QLatin1Char('x'));
    const QString encoded = Base64EncodeText(longText);
    EXPECT_EQ(encoded.indexOf(QStringLiteral("\r\n")), 76);
    EXPECT_EQ(encoded.count(QStringLiteral("\r\n")), 1);
    EXPECT_EQ(Base64DecodeText(encoded), longText);
    EXPECT_EQ(TryBase64DecodeText(encoded), longText);
    EXPECT_FALSE(TryBase64DecodeText(QStringLiteral("ab$d")).has_value());
    EXPECT_FALSE(TryBase64DecodeText(QStringLiteral("斗")).has_value());
}

TEST(Md5, KnownDigests) {
    EXPECT_EQ(Md5Hex(QString()), QStringLiteral("d41d8cd98f00b204e9800998ecf8427e"));
    EXPECT_EQ(Md5Hex(QStringLiteral("velmora")), QStringLiteral("8a6271004528ac41a24f57430cc1f84d"));
    EXPECT_EQ(Md5Hex(QStringLiteral("斗地主")), QStringLiteral("4cd134a2bd88324dccd20bbb01b699bb"));
}

TEST(BodyValue, ReadsItemsAsTheServerSendsThem) {
    struct Case {
        QString body, name, value;
    } cases[] = {
        {QStringLiteral("roomid=3&ROOMID=4"), QStringLiteral("RoomId"), QStringLiteral("3")},
        {QStringLiteral("msg=a b"), QStringLiteral("msg"), QStringLiteral("a")},
        {QStringLiteral("a=1&b=2"), QStringLiteral("c"), QString()},
        {QStringLiteral("a=1&&b=x=y"), QStringLiteral("b"), QStringLiteral("x=y")},
        {QStringLiteral("a=1\tb=2\r\nc=3"), QStringLiteral("c"), QStringLiteral("3")},
        {QStringLiteral("=x=y&x=1"), QStringLiteral("x"), QStringLiteral("1")},
        {QStringLiteral("flag&flag=2"), QStringLiteral("flag"), QString()},
        {QString(), QStringLiteral("a"), QString()},
        {QStringLiteral("a="), QStringLiteral("a"), QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BodyValue(c.body, c.name), c.value) << c.body.toStdString() << " / " << c.name.toStdString();
}

TEST(BodyValue, IntegersFallBack) {
    EXPECT_EQ(BodyInt(QStringLiteral("n=42"), QStringLiteral("n")), 42);
    EXPECT_EQ(BodyInt(QStringLiteral("n=-3"), QStringLiteral("n")), -3);
    EXPECT_EQ(BodyInt(QStringLiteral("n=4x"), QStringLiteral("n")), 0);
    EXPECT_EQ(BodyInt(QStringLiteral("m=1"), QStringLiteral("n"), 7), 7);
}
