#include <gtest/gtest.h>

#include <QSignalSpy>

#include "hall/gametree/gametreemodel.h"
#include "listfixture.h"

using namespace velmora::hall;
using namespace velmora::hall::test;

TEST(GameTreeModel, ShowsTheCatalogTree) {
    GameCatalog catalog;
    GameTreeModel model(catalog);
    ASSERT_TRUE(catalog.applyGameList(list(category(1, QStringLiteral("棋牌游戏"), 0) + game(10, QStringLiteral("斗地主"), 1, QStringLiteral("game"), 3))));
    ASSERT_TRUE(catalog.applyRoomList(list(room(100, QStringLiteral("新手房"), 10, 2))));
    ASSERT_EQ(model.rowCount(), 1);
    const QModelIndex cat = model.index(0, 0);
    EXPECT_EQ(cat.data().toString(), QStringLiteral("棋牌游戏"));
    EXPECT_TRUE(cat.data(GameTreeModel::ExpandedRole).toBool());
    const QModelIndex game = model.index(0, 0, cat);
    const QModelIndex room = model.index(0, 0, game);
    EXPECT_EQ(room.data().toString(), QStringLiteral("新手房(2)"));
    EXPECT_EQ(room.data(GameTreeModel::IconIndexRole).toInt(), 4);
    EXPECT_EQ(model.parent(room), game);
    EXPECT_EQ(model.parent(cat), QModelIndex());
    EXPECT_EQ(catalog.roomOfNode(model.nodeOf(room))->id, 100);
    EXPECT_FALSE(model.index(5, 0).isValid());
}

TEST(GameTreeModel, TextChangesDoNotResetTheView) {
    GameCatalog catalog;
    GameTreeModel model(catalog);
    ASSERT_TRUE(catalog.applyGameList(list(category(1, QStringLiteral("C"), 0) + game(10, QStringLiteral("G"), 1))));
    ASSERT_TRUE(catalog.applyRoomList(list(room(100, QStringLiteral("R"), 10, 2))));
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    catalog.setRoomOnline(100, 9);
    EXPECT_EQ(resets.count(), 0);
    EXPECT_GT(changes.count(), 0);
    EXPECT_EQ(model.index(0, 0, model.index(0, 0, model.index(0, 0))).data().toString(), QStringLiteral("R(9)"));
}
