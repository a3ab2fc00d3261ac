#pragma once
// The game tree's data: the three record arrays (in order of first appearance, matched by id)
// and the tree nodes built from them, exactly as the hall shows them. No widgets: the tree view
// shows GameTreeModel, which reads this catalog.

#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "hall/gametree/gamerecords.h"

namespace velmora::hall {

enum class NodeKind { Category, Game, Room, RecentGroup };

struct TreeNode {
    NodeKind kind = NodeKind::Category;
    int record = -1;  // index into the category, game or room array; -1 for the group
    bool recent = false;  // a node inside the recently played group
    NodeId parent = kNoNode;
    std::vector<NodeId> children;
    QString text;
    qint32 icon = 0;
    bool expanded = false;
};

inline const QString kRecentGroupTitle = QStringLiteral("最近玩过的游戏");
inline constexpr qint32 kRecentGroupIcon = 3;

class GameCatalog {
public:
    // Reads the game list reply. False (and nothing changed) for an empty or non-XML reply.
    bool applyGameList(const QString& xml);
    // Reads the room list reply. Rooms whose id equals `candidateRoomId` (> 0) are copied to
    // lastRoom(). False (and nothing changed) for an empty or non-XML reply.
    bool applyRoomList(const QString& xml, qint32 candidateRoomId = 0);

    const std::vector<STRU_GAMEFRM>& categories() const { return m_categories; }
    const std::vector<STRU_GAMES>& games() const { return m_games; }
    const std::vector<STRU_GAMEROOM>& rooms() const { return m_rooms; }
    const std::vector<qint32>& userGames() const { return m_userGame; }
    // "当前在线人数：" + the list's total, once the game list named one.
    const QString& onlineCaption() const { return m_onlineCaption; }

    const std::vector<NodeId>& roots() const { return m_roots; }
    const TreeNode& node(NodeId id) const { return m_nodes.at(static_cast<size_t>(id)); }
    size_t nodeCount() const { return m_nodes.size(); }
    bool validNode(NodeId id) const { return id >= 0 && id < static_cast<NodeId>(m_nodes.size()); }
    NodeId recentGroup() const { return m_recentGroup; }

    const STRU_GAMES* gameOfNode(NodeId id) const;
    const STRU_GAMEROOM* roomOfNode(NodeId id) const;
    const STRU_GAMEROOM* findRoom(qint32 id) const;
    // The tooltip over a node: the help text of the category, game or room that owns it; a
    // recently played game node has none.
    QString hintFor(NodeId id) const;

    // The last-room candidate found by applyRoomList (id 0: none). Used once.
    const STRU_GAMEROOM& lastRoom() const { return m_lastRoom; }
    void clearLastRoom() { m_lastRoom = STRU_GAMEROOM{}; }

    // Sets a room's online count (and the texts of its nodes), as the room client does when
    // the player enters or leaves.
    void setRoomOnline(qint32 roomId, qint32 onlinecount);

    // The online refresh: `countOf(kind, id)` gives the count of every category, game and room
    // (NodeKind::Category, Game, Room). Records take their counts; the texts change where the
    // lists show counts: categories with showonline 1, games of type "game" (both their nodes)
    // and every room (both its nodes). One change notice for the lot.
    void applyOnlineCounts(const std::function<qint32(NodeKind, qint32)>& countOf);

    // Called after every change of nodes or texts.
    std::function<void()> onChanged;

private:
    NodeId addNode(NodeId parent, NodeKind kind, int record, bool recent, const QString& text,
                   qint32 icon);
    void setExpanded(NodeId id, bool expanded);
    static QString gameText(const STRU_GAMES& g);
    void setText(NodeId node, const QString& text);
    void setRoomCount(STRU_GAMEROOM& room, qint32 onlinecount);
    void applyCategory(const STRU_GAMEFRM& value);
    void applyGame(const STRU_GAMES& value);
    void applyRoom(const STRU_GAMEROOM& value, qint32 candidateRoomId);
    void buildRecentGroup();

    std::vector<STRU_GAMEFRM> m_categories;
    std::vector<STRU_GAMES> m_games;
    std::vector<STRU_GAMEROOM> m_rooms;
    std::vector<qint32> m_userGame;
    QString m_onlineCaption;
    std::vector<TreeNode> m_nodes;
    std::vector<NodeId> m_roots;
    NodeId m_recentGroup = kNoNode;
    STRU_GAMEROOM m_lastRoom;
};

}  // namespace velmora::hall
