#include "hall/gametree/gamecatalog.h"

#include <algorithm>

#include "hall/gametree/xmllist.h"

namespace velmora::hall {
namespace {

template <typename Record>
Record* findById(std::vector<Record>& records, qint32 id) {
    const auto it = std::find_if(records.begin(), records.end(), [&](const Record& r) { return r.id == id; });
    return it == records.end() ? nullptr : &*it;
}

QString withCount(const QString& title, qint32 count) {
    return title + QLatin1Char('(') + QString::number(count) + QLatin1Char(')');
}

STRU_GAMEFRM categoryFrom(const XmlListEntry& e) {
    STRU_GAMEFRM c;
    c.id = e.integer(QStringLiteral("id"));
    c.title = e.value(QStringLiteral("title"));
    c.pid = e.integer(QStringLiteral("pid"));
    c.icon = e.integer(QStringLiteral("icon"));
    c.onlinecount = e.integer(QStringLiteral("onlinecount"));
    c.showonline = e.integer(QStringLiteral("showonline"));
    c.helptext = e.value(QStringLiteral("helptext"));
    c.expanded = e.flag(QStringLiteral("expanded"));
    return c;
}

STRU_GAMES gameFrom(const XmlListEntry& e) {
    STRU_GAMES g;
    g.id = e.integer(QStringLiteral("id"));
    g.title = e.value(QStringLiteral("title"));
    g.fid = e.integer(QStringLiteral("fid"));
    g.icon = e.integer(QStringLiteral("icon"));
    g.gametype = e.value(QStringLiteral("gametype"));
    g.helpurl = e.value(QStringLiteral("helpurl"));
    g.onlinecount = e.integer(QStringLiteral("onlinecount"));
    g.dialogWidth = e.integer(QStringLiteral("width"));
    g.dialogheight = e.integer(QStringLiteral("height"));
    g.helptext = e.value(QStringLiteral("helptext"));
    g.dllfile = e.value(QStringLiteral("dllfile"));
    g.GUID = e.value(QStringLiteral("GUID"));
    g.downloadxml = e.value(QStringLiteral("downloadxml"));
    g.version = e.value(QStringLiteral("version"));
    return g;
}

STRU_GAMEROOM roomFrom(const XmlListEntry& e) {
    STRU_GAMEROOM r;
    r.id = e.integer(QStringLiteral("id"));
    r.title = e.value(QStringLiteral("title"));
    r.gid = e.integer(QStringLiteral("gid"));
    r.icon = e.integer(QStringLiteral("icon"));
    r.servertype = e.value(QStringLiteral("servertype"));
    r.serverip = e.value(QStringLiteral("serverip"));
    r.serverport = e.integer(QStringLiteral("serverport"));
    r.tablenum = e.integer(QStringLiteral("tablenum"));
    r.roomtype = e.integer(QStringLiteral("roomtype"));
    r.mingold = e.integer(QStringLiteral("mingold"));
    r.maxgold = e.integer(QStringLiteral("maxgold"));
    r.goldmultiple = e.integer(QStringLiteral("goldmultiple"));
    r.minpoint = e.integer(QStringLiteral("minpoint"));
    r.maxpoint = e.integer(QStringLiteral("maxpoint"));
    r.pointmultiple = e.integer(QStringLiteral("pointmultiple"));
    r.showdesk = e.flag(QStringLiteral("showdesk"));
    r.showuserinfo = e.flag(QStringLiteral("showuserinfo"));
    r.enabledchat = e.flag(QStringLiteral("enabledchat"));
    r.enabledlook = e.flag(QStringLiteral("enabledlook"));
    r.roomgold = e.integer(QStringLiteral("roomgold"));
    r.maxplayernum = e.integer(QStringLiteral("maxplayernum"));
    r.playnum = e.integer(QStringLiteral("playnum"));
    r.seatnum = e.integer(QStringLiteral("seatnum"));
    r.onlinecount = e.integer(QStringLiteral("onlinecount"));
    r.templates = e.value(QStringLiteral("templates"));
    r.videoport = e.integer(QStringLiteral("videoport"));
    r.videoserver = e.value(QStringLiteral("videoserver"));
    r.helptext = e.value(QStringLiteral("helptext"));
    r.rules = e.value(QStringLiteral("rules"));
    r.welcome = e.value(QStringLiteral("welcome"));
    return r;
}

}  // namespace

NodeId GameCatalog::addNode(NodeId parent, NodeKind kind, int record, bool recent,
                            const QString& text, qint32 icon) {
    const NodeId id = static_cast<NodeId>(m_nodes.size());
    m_nodes.push_back(TreeNode{kind, record, recent, parent, {}, text, icon, false});
    if (parent == kNoNode)
        m_roots.push_back(id);
    else
        m_nodes[static_cast<size_t>(parent)].children.push_back(id);
    return id;
}

void GameCatalog::setExpanded(NodeId id, bool expanded) {
    if (validNode(id)) m_nodes[static_cast<size_t>(id)].expanded = expanded;
}

QString GameCatalog::gameText(const STRU_GAMES& g) {
    return g.gametype == QStringLiteral("game") ? withCount(g.title, g.onlinecount) : g.title;
}

void GameCatalog::applyCategory(const STRU_GAMEFRM& value) {
    STRU_GAMEFRM* known = findById(m_categories, value.id);
    const QString text = value.showonline == 1 ? withCount(value.title, value.onlinecount) : value.title;
    if (known != nullptr) {
        const NodeId obj = known->obj;
        *known = value;
        known->obj = obj;
        if (validNode(obj)) {
            m_nodes[static_cast<size_t>(obj)].text = text;
            m_nodes[static_cast<size_t>(obj)].icon = value.icon;
        }
        return;
    }
    m_categories.push_back(value);
    const int index = static_cast<int>(m_categories.size()) - 1;
    NodeId parentNode = kNoNode;
    if (value.pid != 0) {
        const STRU_GAMEFRM* parent = findById(m_categories, value.pid);
        // A category whose parent is not known (yet) stays without a node.
        if (parent == nullptr || parent->id == value.id || !validNode(parent->obj)) return;
        parentNode = parent->obj;
    }
    const NodeId node = addNode(parentNode, NodeKind::Category, index, false, text, value.icon);
    setExpanded(node, value.expanded);
    m_categories[static_cast<size_t>(index)].obj = node;
}

void GameCatalog::applyGame(const STRU_GAMES& value) {
    STRU_GAMES* known = findById(m_games, value.id);
    if (known != nullptr) {
        const NodeId obj = known->obj;
        const NodeId myobj = known->myobj;
        const STRU_GAMEFRM parent = known->parent;
        *known = value;
        known->obj = obj;
        known->myobj = myobj;
        known->parent = parent;
        if (validNode(obj)) {
            m_nodes[static_cast<size_t>(obj)].text = gameText(*known);
            m_nodes[static_cast<size_t>(obj)].icon = value.icon;
        }
        return;
    }
    m_games.push_back(value);
    const int index = static_cast<int>(m_games.size()) - 1;
    if (value.fid == 0) return;
    const STRU_GAMEFRM* category = findById(m_categories, value.fid);
    // A game whose category is unknown or has no node gets no node and cannot be opened.
    if (category == nullptr || !validNode(category->obj)) return;
    STRU_GAMES& game = m_games[static_cast<size_t>(index)];
    game.parent = *category;
    game.obj = addNode(category->obj, NodeKind::Game, index, false, gameText(game), game.icon);
    setExpanded(category->obj, category->expanded);
}

bool GameCatalog::applyGameList(const QString& xml) {
    const auto entries = ParseXmlList(xml);
    if (!entries) return false;
    m_userGame.clear();
    for (const XmlListEntry& e : *entries) {
        if (e.name == QStringLiteral("onlinecount")) {
            m_onlineCaption = QStringLiteral("当前在线人数：") + e.text;
        } else if (e.name == QStringLiteral("frm")) {
            applyCategory(categoryFrom(e));
        } else if (e.name == QStringLiteral("game")) {
            applyGame(gameFrom(e));
        } else if (e.name == QStringLiteral("usergame")) {
            const qint32 id = e.integer(QStringLiteral("gameid"));
            if (std::find(m_userGame.begin(), m_userGame.end(), id) == m_userGame.end())
                m_userGame.push_back(id);
        }
    }
    buildRecentGroup();
    if (onChanged) onChanged();
    return true;
}

void GameCatalog::buildRecentGroup() {
    if (m_userGame.empty()) return;
    if (m_recentGroup == kNoNode) {
        m_recentGroup = addNode(kNoNode, NodeKind::RecentGroup, -1, false, kRecentGroupTitle,
                                kRecentGroupIcon);
        // The group is the first top-level node.
        m_roots.pop_back();
        m_roots.insert(m_roots.begin(), m_recentGroup);
    }
    for (const qint32 id : m_userGame) {
        for (size_t i = 0; i < m_games.size(); ++i) {
            STRU_GAMES& game = m_games[i];
            if (game.id != id || game.myobj != kNoNode) continue;
            QString text = game.title;
            if (game.gametype == QStringLiteral("game") && validNode(game.obj))
                text = m_nodes[static_cast<size_t>(game.obj)].text;
            game.myobj = addNode(m_recentGroup, NodeKind::Game, static_cast<int>(i), true, text, game.icon);
        }
    }
    setExpanded(m_recentGroup, true);
}

void GameCatalog::applyRoom(const STRU_GAMEROOM& value, qint32 candidateRoomId) {
    const QString text = withCount(value.title, value.onlinecount);
    STRU_GAMEROOM* room = findById(m_rooms, value.id);
    if (room != nullptr) {
        const NodeId obj = room->obj;
        const NodeId myobj = room->myobj;
        const STRU_GAMES parent = room->parent;
        *room = value;
        room->obj = obj;
        room->myobj = myobj;
        room->parent = parent;
        if (validNode(obj)) m_nodes[static_cast<size_t>(obj)].text = text;
        const STRU_GAMES* game = findById(m_games, room->gid);
        if (game != nullptr && validNode(game->myobj)) {
            if (validNode(room->myobj))
                m_nodes[static_cast<size_t>(room->myobj)].text = text;
            else
                room->myobj = addNode(game->myobj, NodeKind::Room, static_cast<int>(room - m_rooms.data()), true, text, value.icon);
        }
    } else {
        m_rooms.push_back(value);
        const int index = static_cast<int>(m_rooms.size()) - 1;
        room = &m_rooms.back();
        const STRU_GAMES* game = findById(m_games, value.gid);
        // A room whose game is unknown or has no node gets no node and cannot be opened.
        if (game != nullptr && validNode(game->obj)) {
            room->obj = addNode(game->obj, NodeKind::Room, index, false, text, value.icon);
            if (validNode(game->myobj))
                room->myobj = addNode(game->myobj, NodeKind::Room, index, true, text, value.icon);
            room->parent = *game;
        }
    }
    for (const NodeId n : {room->obj, room->myobj})
        if (validNode(n)) m_nodes[static_cast<size_t>(n)].icon = value.icon;
    if (candidateRoomId > 0 && room->id == candidateRoomId) m_lastRoom = *room;
}

bool GameCatalog::applyRoomList(const QString& xml, qint32 candidateRoomId) {
    const auto entries = ParseXmlList(xml);
    if (!entries) return false;
    for (const XmlListEntry& e : *entries) applyRoom(roomFrom(e), candidateRoomId);
    if (onChanged) onChanged();
    return true;
}

const STRU_GAMES* GameCatalog::gameOfNode(NodeId id) const {
    if (!validNode(id)) return nullptr;
    const TreeNode& n = node(id);
    if (n.kind != NodeKind::Game || n.record < 0) return nullptr;
    return &m_games.at(static_cast<size_t>(n.record));
}

const STRU_GAMEROOM* GameCatalog::roomOfNode(NodeId id) const {
    if (!validNode(id)) return nullptr;
    const TreeNode& n = node(id);
    if (n.kind != NodeKind::Room || n.record < 0) return nullptr;
    return &m_rooms.at(static_cast<size_t>(n.record));
}

const STRU_GAMEROOM* GameCatalog::findRoom(qint32 id) const {
    const auto it = std::find_if(m_rooms.begin(), m_rooms.end(), [&](const STRU_GAMEROOM& r) { return r.id == id; });
    return it == m_rooms.end() ? nullptr : &*it;
}

QString GameCatalog::hintFor(NodeId id) const {
    if (!validNode(id)) return {};
    const TreeNode& n = node(id);
    switch (n.kind) {
    case NodeKind::Category:
        return m_categories.at(static_cast<size_t>(n.record)).helptext;
    case NodeKind::Game:
        return n.recent ? QString() : m_games.at(static_cast<size_t>(n.record)).helptext;
    case NodeKind::Room:
        return m_rooms.at(static_cast<size_t>(n.record)).helptext;
    case NodeKind::RecentGroup:
        break;
    }
    return {};
}

void GameCatalog::setText(NodeId node, const QString& text) {
    if (validNode(node)) m_nodes[static_cast<size_t>(node)].text = text;
}

void GameCatalog::setRoomCount(STRU_GAMEROOM& room, qint32 onlinecount) {
    room.onlinecount = onlinecount;
    for (const NodeId n : {room.obj, room.myobj}) setText(n, withCount(room.title, onlinecount));
}

void GameCatalog::setRoomOnline(qint32 roomId, qint32 onlinecount) {
    for (STRU_GAMEROOM& room : m_rooms)
        if (room.id == roomId) setRoomCount(room, onlinecount);
    if (onChanged) onChanged();
}

void GameCatalog::applyOnlineCounts(const std::function<qint32(NodeKind, qint32)>& countOf) {
    for (STRU_GAMEFRM& category : m_categories) {
        category.onlinecount = countOf(NodeKind::Category, category.id);
        if (category.showonline == 1) setText(category.obj, withCount(category.title, category.onlinecount));
    }
    for (STRU_GAMES& game : m_games) {
        game.onlinecount = countOf(NodeKind::Game, game.id);
        if (game.gametype != QStringLiteral("game")) continue;
        for (const NodeId n : {game.obj, game.myobj}) setText(n, gameText(game));
    }
    for (STRU_GAMEROOM& room : m_rooms) setRoomCount(room, countOf(NodeKind::Room, room.id));
    if (onChanged) onChanged();
}

}  // namespace velmora::hall
