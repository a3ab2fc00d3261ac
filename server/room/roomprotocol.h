#pragma once
// Numbers of the room protocol as this server speaks it: command numbers, the error codes it
// puts in "errcode", the result codes of replies, and the limits it enforces on every
// connection. docs/room-server.md lists the same values for client authors.

#include <QtGlobal>

namespace velmora::server {

using ConnectionId = qint32;

namespace cmd {
inline constexpr qint32 kLogin = 10;
inline constexpr qint32 kEnterRoom = 11;
inline constexpr qint32 kLeaveRoom = 12;
inline constexpr qint32 kSitDown = 13;
inline constexpr qint32 kLeaveTable = 14;
inline constexpr qint32 kWatch = 15;
inline constexpr qint32 kReady = 16;
inline constexpr qint32 kRoomChat = 17;
inline constexpr qint32 kTableChat = 18;
inline constexpr qint32 kInvite = 19;
inline constexpr qint32 kGameData = 20;
inline constexpr qint32 kSystemMessage = 40;
inline constexpr qint32 kGameOver = 41;
inline constexpr qint32 kScores = 42;
inline constexpr qint32 kKeepGameData = 43;
inline constexpr qint32 kAskGameData = 44;
inline constexpr qint32 kKeepAlive = 50;
inline constexpr qint32 kMemberEntered = 80;
inline constexpr qint32 kMemberLeft = 81;
inline constexpr qint32 kMemberSeated = 82;
inline constexpr qint32 kMemberUnseated = 83;
inline constexpr qint32 kMemberOffline = 84;
inline constexpr qint32 kMemberOnline = 85;
// "cmdname" of the game start announcement: a number the hall does not know as a reply,
// sent as a reply (datatype 1) whose result is kResultGameStart.
inline constexpr qint32 kGameStartName = 3;
}  // namespace cmd

// Result codes of a reply (the `command` field of datatype 1).
inline constexpr qint32 kResultFailed = 0;
inline constexpr qint32 kResultOk = 1;
inline constexpr qint32 kResultGameStart = 3;

// Values of "errcode". The 11xx and 13xx codes are the ones the hall knows for room entry.
namespace err {
inline constexpr int kMalformedBody = 1001;    // a value missing or not a number
inline constexpr int kBodyTooLong = 1002;      // body beyond Limits::maxBody
inline constexpr int kUnknownCommand = 1003;
inline constexpr int kNotLoggedIn = 1100;      // session gone
inline constexpr int kLoginFailed = 1106;      // user id does not match the session
inline constexpr int kNoSuchRoom = 1301;       // unknown room or not on this server
inline constexpr int kAlreadyInRoom = 1302;
inline constexpr int kRoomFull = 1303;
inline constexpr int kNotInRoom = 1304;        // request for a room the player is not in
inline constexpr int kWrongPassword = 1401;
inline constexpr int kSeatTaken = 1402;        // seat occupied, or the player is in a game
inline constexpr int kWatchForbidden = 1403;
inline constexpr int kNoSuchSeat = 1404;       // table or seat number out of range
inline constexpr int kNotAtTable = 1405;       // request for a table the player is not at
inline constexpr int kNotSeated = 1406;        // needs a seated player (ready, game data)
inline constexpr int kNotTableAdmin = 1407;    // scores and kept game data: game host only
inline constexpr int kNoKeptData = 1408;
inline constexpr int kNoGame = 1409;           // game over without a game
inline constexpr int kChatDisabled = 1501;
inline constexpr int kNotPermitted = 1502;     // mute or kick without the VIP level
inline constexpr int kBadInvitation = 1601;    // recipient not in the room, or bad table
}  // namespace err

// Limits of one connection. Defaults are the documented ones; tests shrink them.
struct Limits {
    qsizetype maxLine = 65536;         // wire characters of one line, line end excluded
    qsizetype maxBody = 16384;         // characters of an unscrambled body
    qsizetype maxGameData = 1200;      // hex digits of "msg" in request 20
    qsizetype maxChat = 2048;          // characters of "msg" in requests 17 and 18
    int linesPerSecond = 100;          // flood control: sustained rate
    int lineBurst = 200;               // flood control: bucket size
    int maxBadLines = 20;              // malformed or refused lines before the connection closes
    qint64 loginTimeoutMs = 15000;     // no login line within this: closed
    qint64 idleTimeoutMs = 90000;      // no line at all within this: treated as a drop
    qint64 holdMs = 90000;             // a dropped seated player's place is kept this long
};

}  // namespace velmora::server
