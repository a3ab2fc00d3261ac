#include "hall/room/roomuser.h"

namespace velmora::hall {

QString MemberStatusText(qint32 status) {
    switch (status) {
    case kStatusIdle:
        return QStringLiteral("空闲");
    case kStatusWatching:
        return QStringLiteral("旁观");
    case kStatusSeated:
        return QStringLiteral("就座");
    case kStatusReady:
        return QStringLiteral("开始");
    case kStatusPlaying:
        return QStringLiteral("游戏");
    default:
        return QStringLiteral("未知");
    }
}

int RoomMembers::find(qint64 userId) const {
    if (userId == 0) return -1;
    for (int i = 0; i < kSearched; ++i)
        if (m_users[static_cast<size_t>(i)].User.UserID == userId) return i;
    return -1;
}

int RoomMembers::firstFree() const {
    for (int i = 0; i < kSearched; ++i)
        if (m_users[static_cast<size_t>(i)].isFree()) return i;
    return -1;
}

void RoomMembers::clearPlaces() {
    for (int i = 0; i < kSearched; ++i) {
        auto& u = m_users[static_cast<size_t>(i)];
        u.User.UserID = 0;
        u.table = 0;
        u.seat = 0;
        u.obj = -1;
    }
}

void RoomMembers::clearAll() { m_users.fill(STRU_ROOMUSER{}); }

int RoomMembers::count() const {
    int n = 0;
    for (int i = 0; i < kSearched; ++i) n += m_users[static_cast<size_t>(i)].isFree() ? 0 : 1;
    return n;
}

}  // namespace velmora::hall
