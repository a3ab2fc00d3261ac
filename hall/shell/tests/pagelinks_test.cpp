#include <gtest/gtest.h>

#include "hall/shell/core/pagelinks.h"

using namespace velmora::hall;

struct DialogCase {
    const char* link;
    int width;
    int height;
    const char* target;
};

class DialogLinkTest : public ::testing::TestWithParam<DialogCase> {};

TEST_P(DialogLinkTest, SizeAndTarget) {
    const DialogCase& c = GetParam();
    const DialogLink link = ParseDialogLink(QString::fromUtf8(c.link));
    EXPECT_EQ(link.width, c.width) << c.link;
    EXPECT_EQ(link.height, c.height) << c.link;
    EXPECT_EQ(link.target, QString::fromUtf8(c.target)) << c.link;
}

INSTANTIATE_TEST_SUITE_P(
    Links, DialogLinkTest,
    ::testing::Values(
        DialogCase{"dialog://400_180@http://h:1/user/edit.php?token=ab", 400, 180,
                   "http://h:1/user/edit.php?token=ab"},
        DialogCase{"DIALOG://640_480@http://h/x", 640, 480, "http://h/x"},
        // Width and height fall back separately.
        DialogCase{"dialog://wide_250@http://h/x", 400, 250, "http://h/x"},
        DialogCase{"dialog://500_tall@http://h/x", 500, 300, "http://h/x"},
        DialogCase{"dialog://500@http://h/x", 500, 300, "http://h/x"},
        // Without "@" everything after the scheme is the target.
        DialogCase{"dialog://http://h/x?a=1", 400, 300, "http://h/x?a=1"},
        // A target holding "@" itself arrives whole.
        DialogCase{"dialog://300_200@http://h/mail.php?to=a@b.c", 300, 200,
                   "http://h/mail.php?to=a@b.c"},
        // Sizes no screen can hold are not taken from a page.
        DialogCase{"dialog://99999999_-5@http://h/x", 400, 300, "http://h/x"},
        DialogCase{"dialog://", 400, 300, ""}));

TEST(PageLinks, ClassifiesBySchemeWithoutRegardToCase) {
    EXPECT_EQ(ClassifyPageLink(QStringLiteral("Dialog://1_2@x")), PageLink::Dialog);
    EXPECT_EQ(ClassifyPageLink(QStringLiteral("PROP://a")), PageLink::Prop);
    EXPECT_EQ(ClassifyPageLink(QStringLiteral("AddFriend://1")), PageLink::AddFriend);
    EXPECT_EQ(ClassifyPageLink(QStringLiteral("game:join")), PageLink::Game);
    EXPECT_EQ(ClassifyPageLink(QStringLiteral("GAME:join")), PageLink::Game);
    EXPECT_EQ(ClassifyPageLink(QStringLiteral("http://h/game:x")), PageLink::Page);
    EXPECT_EQ(ClassifyPageLink(QStringLiteral("gamelist.php")), PageLink::Page);
}

TEST(PageLinks, PropArgumentsAreSentAsTypedAfterABar) {
    // The scheme may be in capitals; the arguments keep their case and are percent-encoded.
    EXPECT_EQ(PropCommandLine(QStringLiteral("PROP://Rose|10002|3")),
              QStringLiteral("17|msg=.prop%7CRose%7C10002%7C3"));
    EXPECT_EQ(PropCommandLine(QStringLiteral("prop://花")),
              QStringLiteral("17|msg=.prop%7C%BB%A8"));
}

TEST(PageLinks, AddFriendIdJoinsTheDigitsAroundSlashes) {
    EXPECT_EQ(AddFriendId(QStringLiteral("addfriend://1/0/0/0/2")), 10002);
    EXPECT_EQ(AddFriendId(QStringLiteral("ADDFRIEND://10003/")), 10003);
    EXPECT_EQ(AddFriendId(QStringLiteral("addfriend://abc")), 0);
    EXPECT_EQ(AddFriendId(QStringLiteral("addfriend://99999999999999999999999")), 0);
    EXPECT_EQ(AddFriendCommandLine(10002), QStringLiteral("19|recvid=10002&msg=addfriend"));
}

TEST(PageLinks, TabCaptionCutsTitlesLongerThan18) {
    const QString t18 = QStringLiteral("一二三四五六七八九十一二三四五六七八");
    ASSERT_EQ(t18.size(), 18);
    EXPECT_EQ(TabCaption(t18), t18);
    const QString t19 = t18 + QStringLiteral("九");
    EXPECT_EQ(TabCaption(t19), t18.left(16) + QStringLiteral("..."));
    EXPECT_TRUE(DialogTakesTitle(QStringLiteral("修改资料")));
    EXPECT_FALSE(DialogTakesTitle(QStringLiteral("HTTP://h/x")));
}
