#include <gtest/gtest.h>

#include "platform/codepage/codepage.h"

using namespace velmora::platform;

TEST(Codepage, RoundTripsChineseAndAscii) {
    const QString cases[] = {QString(), QStringLiteral("abc 123"), QStringLiteral("斗地主"),
                             QStringLiteral("提示: 房间已满 (1301)"), QStringLiteral("€")};
    for (const QString& text : cases) EXPECT_EQ(fromGbk(toGbk(text)), text) << text.toStdString();
}

TEST(Codepage, KnownGbkBytes) {
    EXPECT_EQ(toGbk(QStringLiteral("中")), QByteArray("\xD6\xD0"));
    EXPECT_EQ(fromGbk(QByteArray("\xB6\xB7\xB5\xD8\xD6\xF7")), QStringLiteral("斗地主"));
}

TEST(Codepage, CharactersWithoutGbkFormBecomeQuestionMarks) {
    // U+1F600 (a surrogate pair), U+0E01 (Thai) and a lone surrogate have no GBK form.
    QString text = QStringLiteral("a") + QString::fromUcs4(U"\U0001F600") + QStringLiteral("中") +
                   QChar(0x0E01) + QChar(0xD800) + QStringLiteral("b");
    EXPECT_EQ(toGbk(text), QByteArray("a?\xD6\xD0??b"));
}

TEST(Codepage, InvalidBytesDecodeToQuestionMarks) {
    EXPECT_EQ(fromGbk(QByteArray("a\xFF" "b")), QStringLiteral("a?b"));
    EXPECT_EQ(fromGbk(QByteArray("x\xD6")), QStringLiteral("x?"));  // lead byte at the end
}

TEST(Codepage, CutNeverSplitsADoubleByteCharacter) {
    const QByteArray bytes = toGbk(QStringLiteral("a中b文"));  // a D6 D0 b CE C4
    struct Case {
        qsizetype limit;
        QByteArray expected;
    } cases[] = {{0, ""}, {1, "a"}, {2, "a"}, {3, "a\xD6\xD0"}, {4, "a\xD6\xD0" "b"},
                 {5, "a\xD6\xD0" "b"}, {6, bytes}, {100, bytes}, {-1, ""}};
    for (const auto& c : cases) EXPECT_EQ(gbkCut(bytes, c.limit), c.expected) << c.limit;
}

TEST(Codepage, ZeroTerminatedBuffers) {
    char buffer[6];
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(copyGbkZ(QStringLiteral("ab中文"), buffer, sizeof buffer), 4);
    EXPECT_EQ(QByteArray(buffer, 5), QByteArray("ab\xD6\xD0\0", 5));
    EXPECT_EQ(readGbkZ(buffer, sizeof buffer), QStringLiteral("ab中"));

    const char unterminated[3] = {'a', 'b', 'c'};
    EXPECT_EQ(readGbkZ(unterminated, 3), QStringLiteral("abc"));
    EXPECT_EQ(copyGbkZ(QStringLiteral("x"), nullptr, 10), 0);
}
