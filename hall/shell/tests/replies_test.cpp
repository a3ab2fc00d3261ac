#include <gtest/gtest.h>

#include "hall/shell/core/onlinecount.h"
#include "hall/shell/core/userprofile.h"

using namespace velmora::hall;

TEST(OnlineCounts, ErrorMeansTheSessionExpired) {
    EXPECT_TRUE(ParseOnlineCounts(QStringLiteral("Error")).expired);
    EXPECT_FALSE(ParseOnlineCounts(QStringLiteral("Error\r\n")).expired);
    EXPECT_FALSE(ParseOnlineCounts(QString()).expired);
}

TEST(OnlineCounts, EntriesSplitAtLineBreaksAndBlanks) {
    const OnlineCounts c =
        ParseOnlineCounts(QStringLiteral("all=17\r\nfrm1=5\nroom3=2 game2=x\rroom3=9 junk =4"));
    EXPECT_EQ(c.count(QStringLiteral("all")), 17);
    EXPECT_EQ(c.count(QStringLiteral("frm1")), 5);
    EXPECT_EQ(c.count(QStringLiteral("room3")), 2);  // the first of a name counts
    EXPECT_EQ(c.count(QStringLiteral("game2")), 0);  // not a number
    EXPECT_EQ(c.count(QStringLiteral("frm9")), 0);   // absent
    EXPECT_EQ(c.caption(), QStringLiteral("当前在线人数：17"));
}

TEST(OnlineCounts, AnEmptyReplyShowsAnEmptyTotal) {
    EXPECT_EQ(ParseOnlineCounts(QString()).caption(), QStringLiteral("当前在线人数："));
    EXPECT_EQ(CountedTitle(QStringLiteral("斗地主"), 12), QStringLiteral("斗地主(12)"));
}

class ProfileReplyTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ProfileReplyTest, TheOwnLineIsFoundWhateverTheLineBreaks) {
    const QString breakText = QString::fromLatin1(GetParam());
    STRU_USERINFO user;
    user.UserID = 10002;
    const QString reply = QStringLiteral("10001|alice|3|%C5%AE|a|1|2|x") + breakText +
                          QStringLiteral("10002|%B1%B4%B1%B4|7|%C4%D0|b|5|100|hello") + breakText;
    ASSERT_TRUE(ApplyProfileReply(reply, user));
    EXPECT_EQ(user.UserName, QStringLiteral("贝贝"));
    EXPECT_EQ(user.FaceNum, 7);
    EXPECT_EQ(user.sex, QStringLiteral("男"));
    EXPECT_EQ(user.Usershow, QStringLiteral("hello"));
}

INSTANTIATE_TEST_SUITE_P(LineBreaks, ProfileReplyTest, ::testing::Values("\r", "\n", "\r\n"));

TEST(ProfileReply, ShortEmptyAndForeignLinesChangeNothing) {
    STRU_USERINFO user;
    user.UserID = 10001;
    user.UserName = QStringLiteral("alice");
    user.FaceNum = 4;
    user.Usershow = QStringLiteral("kept");
    EXPECT_FALSE(ApplyProfileReply(QString(), user));
    EXPECT_FALSE(ApplyProfileReply(QStringLiteral("10001|bob"), user));
    EXPECT_FALSE(ApplyProfileReply(QStringLiteral("x|bob|1|m\r\n10003|carol|2|f|c|1|1|s"), user));
    EXPECT_EQ(user.UserName, QStringLiteral("alice"));
    EXPECT_EQ(user.FaceNum, 4);
    // A remembered show text is not replaced; a face that is not a number reads as 0.
    ASSERT_TRUE(ApplyProfileReply(QStringLiteral("10001| alice2 |zz|f|n|1|1|other"), user));
    EXPECT_EQ(user.UserName, QStringLiteral("alice2"));
    EXPECT_EQ(user.FaceNum, 0);
    EXPECT_EQ(user.Usershow, QStringLiteral("kept"));
    EXPECT_EQ(ProfileRequestForm(10001, QStringLiteral("T")), QStringLiteral("userid=10001&token=T"));
}
