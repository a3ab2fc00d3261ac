#pragma once
// The member profile request of the room client and its reply (no widgets, no network).
//
// Request: POST to `userinfourl` "userid=" + ids joined with "," + "&token=" + token +
// "&gameid=" + game id. Reply: one line per member (CR, LF or blanks separate lines), fields
// separated by "|" and percent-encoded:
//   0 id, 1 name, 2 face, 3 sex, 4 gold, 5 address, 6 VIP level, 7 picture address,
//   8 no shared address at its table (1), 9 refuses high flee rates (1), 10 highest flee rate
//   accepted, 11 points, 12 wins, 13 losses, 14 draws, 15 flights, 16 friend of the player (1).
// A shorter line updates the fields it has; a number that does not read counts 0.

#include <QList>
#include <QString>

#include "hall/room/roomuser.h"

namespace velmora::hall {

// The ids of every member in the room (entries 0 to 299 with a user id).
QList<qint64> MembersInRoom(const RoomMembers& members);

QString MemberProfileForm(const QList<qint64>& ids, const QString& token, qint32 gameId);

// Applies every line whose id is a member's; lines of ids not in the room change nothing.
// Returns the entry indexes updated, in reply order.
QList<int> ApplyMemberProfiles(const QString& reply, RoomMembers& members);

}  // namespace velmora::hall
