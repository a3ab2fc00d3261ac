#include <gtest/gtest.h>

#include "hall/shell/core/toolbar.h"

#include <QRegularExpression>

using namespace velmora::hall;

namespace {

// The level icon numbers in the order the html shows them.
QString iconSequence(const QString& html) {
    QString seq;
    static const QRegularExpression kIcon(QStringLiteral("images/level(\\d)\\.png"));
    for (auto it = kIcon.globalMatch(html); it.hasNext();)
        seq += it.next().captured(1);
    return seq;
}

}  // namespace

TEST(LevelIcons, FollowTheTwentyFiveFiveOneSteps) {
    const struct {
        qint64 level;
        const char* icons;
    } cases[] = {{0, ""}, {-3, ""}, {1, "1"}, {4, "1111"}, {5, "2"}, {9, "21111"},
                 {24, "2222" "1111"}, {25, "3"}, {37, "32211"}, {50, "33"}};
    for (const auto& c : cases)
        EXPECT_EQ(iconSequence(LevelIconsHtml(c.level)), QLatin1String(c.icons)) << c.level;
}

TEST(LevelIcons, EveryIconCallsFixPng) {
    const QString html = LevelIconsHtml(6);
    EXPECT_EQ(html, QStringLiteral(
                        "<img src=\"images/level2.png\" border=\"0\" onload=\"fixPng(this);\">"
                        "<img src=\"images/level1.png\" border=\"0\" onload=\"fixPng(this);\">"));
}

TEST(LevelIcons, AHugeLevelIsCapped) {
    // A level the service got wrong must not freeze the hall building millions of tags.
    const QString html = LevelIconsHtml(std::numeric_limits<qint64>::max());
    EXPECT_EQ(iconSequence(html).size(), kMaxLevelIcons);
    EXPECT_EQ(LevelTitle(37), QStringLiteral("37级"));
}

TEST(ToolbarName, TheNameIsShownLiterally) {
    EXPECT_EQ(EscapeUserName(QStringLiteral("<b>A&B</b>")),
              QStringLiteral("&lt;b&gt;A&amp;B&lt;/b&gt;"));
    EXPECT_EQ(UserNameHtml(QStringLiteral("http://h/user/edit.php"), QStringLiteral("T1"), 10001,
                           QStringLiteral("a<i>&")),
              QStringLiteral("<a id=\"ausername\" href=\"dialog://400_180@http://h/user/edit.php"
                             "?token=T1\">10001(a&lt;i&gt;&amp;)</a>"));
}

TEST(ToolbarName, AQuoteInTheAddressCannotLeaveTheAttribute) {
    const QString html = UserNameHtml(QStringLiteral("http://h/e\" onclick=\"x"), QStringLiteral("t"),
                                      1, QStringLiteral("n"));
    EXPECT_FALSE(html.contains(QStringLiteral("\" onclick")));
}

TEST(ToolbarScript, ValuesAreJavaScriptStrings) {
    EXPECT_EQ(JsString(QStringLiteral("a'b\"c\\d")), QStringLiteral("\"a'b\\\"c\\\\d\""));
    EXPECT_EQ(JsString(QStringLiteral("</script>")), QStringLiteral("\"<\\/script>\""));
    STRU_USERINFO user;
    user.UserID = 10001;
    user.UserName = QStringLiteral("alice'); alert(1); ('");
    user.FaceNum = 3;
    user.Level = 6;
    const QString script =
        ToolbarScript(QStringLiteral("/opt/v/"), user, QStringLiteral("http://h/e"), QStringLiteral("t"));
    EXPECT_TRUE(script.contains(QStringLiteral("\"file:///opt/v/face/3.png\"")));
    EXPECT_TRUE(script.contains(QStringLiteral("\"6级\"")));
    // The name stays inside its string literal.
    EXPECT_TRUE(script.contains(QStringLiteral("10001(alice'); alert(1); (')<\\/a>\"")));
}
