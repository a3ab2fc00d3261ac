#pragma once
// The members of the current room as the room client holds them.

#include <QString>
#include <array>

#include "hall/foundation/hallcontext.h"

namespace velmora::hall {

// Member status values and the words shown for them.
enum MemberStatus : qint32 {
    kStatusUnknown = 0,   // "未知"
    kStatusIdle = 1,      // "空闲"
    kStatusWatching = 2,  // "旁观"
    kStatusSeated = 3,    // "就座"
    kStatusReady = 4,     // "开始"
    kStatusPlaying = 5,   // "游戏"
};
QString MemberStatusText(qint32 status);

struct STRU_ROOMUSER {
    STRU_USERINFO User;
    qint32 status = kStatusUnknown;
    qint32 table = 0;
    qint32 seat = 0;  // from 1
    qint64 point = 0;
    qint64 wincount = 0;
    qint64 losscount = 0;
    qint64 peacecount = 0;
    qint64 fleecount = 0;
    QString ip;
    bool pointed = false;
    bool kicked = false;
    bool bFriend = false;
    bool setsameip = false;
    bool setflee = false;
    qint32 setfleenum = 0;
    int obj = -1;  // row in the member list, -1 when none

    bool isFree() const { return User.UserID == 0; }
};

// 301 entries; entry 0 is always the player. The member routines look at entries 0 to 299.
class RoomMembers {
public:
    static constexpr int kEntries = 301;
    static constexpr int kSearched = 300;

    STRU_ROOMUSER& self() { return m_users[0]; }
    const STRU_ROOMUSER& self() const { return m_users[0]; }
    STRU_ROOMUSER& at(int index) { return m_users.at(static_cast<size_t>(index)); }
    const STRU_ROOMUSER& at(int index) const { return m_users.at(static_cast<size_t>(index)); }

    // Index of the member among entries 0 to 299, or -1.
    int find(qint64 userId) const;
    // Index of the first free entry among 0 to 299, or -1.
    int firstFree() const;
    // Clears UserID, table, seat and the row of entries 0 to 299 (the room is left or reloaded).
    void clearPlaces();
    // Clears every member entirely.
    void clearAll();
    // Members in the room (entries 0 to 299 that are taken).
    int count() const;

private:
    std::array<STRU_ROOMUSER, kEntries> m_users{};
};

}  // namespace velmora::hall
