// The member list model against the member records the dispatcher writes.
#include "hall/room/ui/roommembermodel.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QCoreApplication>

using namespace velmora::hall;

namespace {

QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "roommembermodel";
    static char* argv[] = {name, nullptr};
    // Never destroyed: tearing the application down during static destruction crashes Qt.
    static auto* instance = new QCoreApplication(argc, argv);
    return *instance;
}

class RoomMemberModelTest : public ::testing::Test {
protected:
    void SetUp() override { app(); }

    // Puts a member into entry `index` as broadcast 80 and a profile would.
    void enter(int index, qint64 id, const QString& name, qint32 status) {
        STRU_ROOMUSER& m = members.at(index);
        m.User.UserID = id;
        m.User.UserName = name;
        m.status = status;
    }
    QString cell(int row, int column) const {
        return model.data(model.index(row, column)).toString();
    }
    QStringList headers() const {
        QStringList out;
        for (int c = 0; c < model.columnCount(); ++c)
            out << model.headerData(c, Qt::Horizontal).toString();
        return out;
    }
    QStringList idColumn() const {
        QStringList out;
        for (int r = 0; r < model.rowCount(); ++r) out << cell(r, 0);
        return out;
    }

    RoomMembers members;
    RoomMemberModel model{members};
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(RoomMemberModelTest, ColumnsFollowTheRoomsGoldSetting) {
    struct Case {
        bool gold;
        QStringList captions;
        QList<int> widths;
    };
    const Case cases[] = {
        {false,
         {"数字账号", "昵称", "状态", "积分", "赢", "输", "平", "逃跑"},
         {75, 80, 40, 50, 50, 50, 50, 50}},
        {true,
         {"数字账号", "昵称", "状态", "金币", "积分", "赢", "输", "平", "逃跑"},
         {75, 80, 40, 60, 50, 50, 50, 50, 50}},
    };
    enter(0, 10001, QStringLiteral("alice"), kStatusIdle);
    STRU_ROOMUSER& self = members.self();
    self.User.Gold = 1500;
    self.point = 42;
    self.wincount = 7;
    self.losscount = 3;
    self.peacecount = 1;
    self.fleecount = 2;
    for (const Case& c : cases) {
        model.setGoldColumn(c.gold);
        model.refresh();
        EXPECT_EQ(headers(), c.captions) << c.gold;
        for (int col = 0; col < model.columnCount(); ++col)
            EXPECT_EQ(model.columnWidth(col), c.widths[col]);
        QStringList row;
        for (int col = 0; col < model.columnCount(); ++col) row << cell(0, col);
        const QStringList expected =
            c.gold ? QStringList{"10001", "alice", "空闲", "1500", "42", "7", "3", "1", "2"}
                   : QStringList{"10001", "alice", "空闲", "42", "7", "3", "1", "2"};
        EXPECT_EQ(row, expected);
        // Every column is centred but the name.
        for (int col = 0; col < model.columnCount(); ++col) {
            const int align = model.data(model.index(0, col), Qt::TextAlignmentRole).toInt();
            EXPECT_EQ(align & Qt::AlignHCenter, col == 1 ? 0 : int(Qt::AlignHCenter)) << col;
        }
    }
}

TEST_F(RoomMemberModelTest, StatusWordsForEveryValue) {
    const QStringList words = {"未知", "空闲", "旁观", "就座", "开始", "游戏", "未知", "未知"};
    const qint32 values[] = {0, 1, 2, 3, 4, 5, 6, -1};
    enter(0, 10001, QStringLiteral("alice"), 0);
    model.refresh();
    for (int i = 0; i < int(std::size(values)); ++i) {
        members.self().status = values[i];
        model.refreshStatus();
        EXPECT_EQ(cell(0, 2), words[i]) << values[i];
    }
}

TEST_F(RoomMemberModelTest, RowsFollowMembersEnteringLeavingAndEntriesReused) {
    enter(0, 10001, QStringLiteral("alice"), kStatusIdle);
    enter(1, 10002, QStringLiteral("bob"), kStatusSeated);
    enter(5, 10003, QStringLiteral("carol"), kStatusPlaying);
    model.refresh();
    EXPECT_EQ(idColumn(), (QStringList{"10001", "10002", "10003"}));
    EXPECT_EQ(members.at(5).obj, 2);

    // Bob leaves (broadcast 81 frees the entry) and dave takes the entry within 2 seconds:
    // bob's row goes, dave gets a row of his own at the end; nothing shows bob's id with
    // dave's values.
    members.at(1).User.UserID = 0;
    enter(1, 10004, QStringLiteral("dave"), kStatusIdle);
    model.refreshStatus();
    EXPECT_EQ(idColumn(), (QStringList{"10001", "10003", "10004"}));
    EXPECT_EQ(cell(2, 1), QStringLiteral("dave"));
    EXPECT_EQ(members.at(5).obj, 1);
    EXPECT_EQ(members.at(1).obj, 2);

    // Leaving between two refreshes leaves no row behind.
    enter(7, 10005, QStringLiteral("erin"), kStatusIdle);
    members.at(7).User.UserID = 0;
    model.refreshStatus();
    EXPECT_EQ(model.rowCount(), 3);

    // Entry 300 lies outside the searched entries and never shows.
    members.at(300).User.UserID = 99999;
    model.refresh();
    EXPECT_FALSE(idColumn().contains(QStringLiteral("99999")));

    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(members.at(0).obj, -1);
    EXPECT_EQ(members.at(5).obj, -1);
}

TEST_F(RoomMemberModelTest, ARowWhoseEntryChangedHandsShowsNothingUntilTheNextRefresh) {
    enter(0, 10001, QStringLiteral("alice"), kStatusIdle);
    enter(1, 10002, QStringLiteral("bob"), kStatusIdle);
    model.refresh();
    enter(1, 10009, QStringLiteral("mallory"), kStatusIdle);
    EXPECT_FALSE(model.data(model.index(1, 1)).isValid());
    model.refresh();
    EXPECT_EQ(idColumn(), (QStringList{"10001", "10009"}));
}

TEST_F(RoomMemberModelTest, AFullRoomShowsAllThreeHundredMembers) {
    for (int i = 0; i < RoomMembers::kSearched; ++i) enter(i, 20000 + i, QString(), kStatusIdle);
    model.refresh();
    EXPECT_EQ(model.rowCount(), 300);
    EXPECT_EQ(cell(299, 0), QStringLiteral("20299"));
}

}  // namespace
