// The member profile request and reply of the room client.
#include "hall/room/ui/memberprofiles.h"

#include <gtest/gtest.h>

#include "hall/foundation/publicfunc.h"

using namespace velmora::hall;

namespace {

QString line(const QStringList& fields) {
    QStringList encoded;
    for (const QString& f : fields) encoded << UrlEncodeText(f);
    return encoded.join(QLatin1Char('|'));
}

class MemberProfilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        members.self().User.UserID = 10001;
        members.at(3).User.UserID = 10002;
        members.at(4).User.UserID = 10003;
    }
    RoomMembers members;
};

TEST_F(MemberProfilesTest, RequestNamesEveryMemberInTheRoom) {
    members.at(300).User.UserID = 777;  // outside the searched entries
    const QList<qint64> ids = MembersInRoom(members);
    EXPECT_EQ(ids, (QList<qint64>{10001, 10002, 10003}));
    EXPECT_EQ(MemberProfileForm(ids, QStringLiteral("tok"), 1),
              QStringLiteral("userid=10001,10002,10003&token=tok&gameid=1"));
}

TEST_F(MemberProfilesTest, AFullLineFillsEveryField) {
    const QString reply = line({"10002", " 张三 ", "7", "女", "1500", " 10.0.0.2 ", "2",
                                "http://h/p.png", "1", "1", "30", "120", "9", "4", "1", "2", "1"}) +
                          "\r\n";
    EXPECT_EQ(ApplyMemberProfiles(reply, members), QList<int>{3});
    const STRU_ROOMUSER& m = members.at(3);
    EXPECT_EQ(m.User.UserName, QStringLiteral("张三"));
    EXPECT_EQ(m.User.FaceNum, 7);
    EXPECT_EQ(m.User.sex, QStringLiteral("女"));
    EXPECT_EQ(m.User.Gold, 1500);
    EXPECT_EQ(m.ip, QStringLiteral("10.0.0.2"));
    EXPECT_EQ(m.User.VIPLevel, 2);
    EXPECT_EQ(m.User.Usershow, QStringLiteral("http://h/p.png"));
    EXPECT_TRUE(m.setsameip);
    EXPECT_TRUE(m.setflee);
    EXPECT_EQ(m.setfleenum, 30);
    EXPECT_EQ(m.point, 120);
    EXPECT_EQ(m.wincount, 9);
    EXPECT_EQ(m.losscount, 4);
    EXPECT_EQ(m.peacecount, 1);
    EXPECT_EQ(m.fleecount, 2);
    EXPECT_TRUE(m.bFriend);
}

TEST_F(MemberProfilesTest, ShortUnknownAndBadLinesDoNotStopTheOthers) {
    members.at(4).point = 55;
    members.at(4).User.Usershow = QStringLiteral("kept.png");
    const QString reply = line({"99999", "stranger", "1", "男", "5"}) + "\r" +  // not in the room
                          line({"10003", "bob", "4", "男", "800", "10.0.0.3", "x"}) +
                          "\n" +  // 7 fields, VIP not a number
                          "garbage-without-bars\r\n" +
                          line({"10001", "alice", "9", "女", "-", "", "1", "new.png", "0", "0",
                                "99999999999", "12"}) +
                          " ";
    EXPECT_EQ(ApplyMemberProfiles(reply, members), (QList<int>{4, 0}));
    const STRU_ROOMUSER& bob = members.at(4);
    EXPECT_EQ(bob.User.UserName, QStringLiteral("bob"));
    EXPECT_EQ(bob.User.Gold, 800);
    EXPECT_EQ(bob.ip, QStringLiteral("10.0.0.3"));
    EXPECT_EQ(bob.User.VIPLevel, 0);
    EXPECT_EQ(bob.point, 55);  // beyond the line's fields: unchanged
    EXPECT_EQ(bob.User.Usershow, QStringLiteral("kept.png"));
    const STRU_ROOMUSER& alice = members.self();
    EXPECT_EQ(alice.User.Gold, 0);   // "-" is not a number
    EXPECT_EQ(alice.setfleenum, 0);  // out of range for the field
    EXPECT_EQ(alice.point, 12);
    EXPECT_EQ(alice.User.Usershow, QStringLiteral("new.png"));
    EXPECT_EQ(members.find(99999), -1);
}

TEST_F(MemberProfilesTest, EmptyReplyAndIdZeroChangeNothing) {
    EXPECT_TRUE(ApplyMemberProfiles(QString(), members).isEmpty());
    members.at(4).User.UserID = 0;
    EXPECT_TRUE(ApplyMemberProfiles(line({"0", "ghost", "1", "男"}), members).isEmpty());
    EXPECT_TRUE(members.at(4).User.UserName.isEmpty());
}

}  // namespace
