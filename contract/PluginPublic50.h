#pragma once
// The member record and the frame kinds of the hall-plug-in contract.
//
// A frame is a byte string whose first byte is its kind. Kind 3 (table frame) carries a header:
// [1..8] a member id (Int64), [9] a sub-code, [10..] the payload. Multi-byte values are
// little-endian. Frames are at most 513 bytes, except the member list (kind 9), which holds at
// most 20 records (6165 bytes).

#include <cstddef>
#include <cstdint>

namespace velmora::contract {

#pragma pack(push, 1)
// One table member, 308 bytes. Texts are GBK, zero-padded, not necessarily terminated.
struct STRU_PLUGIN_USERINFO {
    std::int64_t UserId;
    char NickName[24];
    std::uint16_t FaceNum;
    std::int32_t NetDelay;
    std::int64_t Score;
    std::uint8_t SeatIndex;  // 0..9
    std::uint8_t IsPlayer;   // 1 seated player, 0 onlooker
    std::int32_t WinCount;
    std::int32_t LossCount;
    std::int32_t DrawCount;
    std::int32_t FleeCount;
    std::int64_t GameCoins;
    // Offsets 72..99: the hall fills them, the plug-in reads them as reserved.
    char NameCopy[24];
    std::uint8_t Male;
    std::uint8_t Zero[2];
    std::uint8_t Level;
    std::int64_t Gold;
    char PhotoFile[200];
};
#pragma pack(pop)

static_assert(sizeof(STRU_PLUGIN_USERINFO) == 308);
static_assert(offsetof(STRU_PLUGIN_USERINFO, FaceNum) == 32);
static_assert(offsetof(STRU_PLUGIN_USERINFO, Score) == 38);
static_assert(offsetof(STRU_PLUGIN_USERINFO, SeatIndex) == 46);
static_assert(offsetof(STRU_PLUGIN_USERINFO, WinCount) == 48);
static_assert(offsetof(STRU_PLUGIN_USERINFO, GameCoins) == 64);
static_assert(offsetof(STRU_PLUGIN_USERINFO, NameCopy) == 72);
static_assert(offsetof(STRU_PLUGIN_USERINFO, Male) == 96);
static_assert(offsetof(STRU_PLUGIN_USERINFO, Level) == 99);
static_assert(offsetof(STRU_PLUGIN_USERINFO, Gold) == 100);
static_assert(offsetof(STRU_PLUGIN_USERINFO, PhotoFile) == 108);

inline constexpr int kUserInfoSize = 308;
inline constexpr int kNickNameSize = 24;
inline constexpr int kPhotoFileSize = 200;
inline constexpr int kMaxFrame = 513;
inline constexpr int kTableHeader = 10;
inline constexpr int kMaxTablePayload = kMaxFrame - kTableHeader;  // 503
inline constexpr int kMaxListMembers = 20;
inline constexpr int kMaxUserListFrame = 5 + kUserInfoSize * kMaxListMembers;  // 6165
inline constexpr int kRoomSettingsFrame = 113;
inline constexpr int kMaxRulesText = 100;
inline constexpr int kAdministratorFrame = 18;
inline constexpr int kMemberIdFrame = 9;
inline constexpr int kOfflineFrame = 10;
inline constexpr int kGameStartFrame = 222;
inline constexpr int kMatchHostHeader = 22;
inline constexpr int kMatchHostText = 200;
inline constexpr int kScoreEntrySize = 44;
inline constexpr int kMaxScoreEntries = 10;
inline constexpr int kMaxShoutChars = 250;
inline constexpr int kMaxAddressText = 100;

// Frame kinds. Where one kind travels both ways with different meanings, both are named.
namespace FrameKind {
inline constexpr std::uint8_t kTable = 3;
inline constexpr std::uint8_t kRefreshUsers = 7;   // up: refresh the member list
inline constexpr std::uint8_t kUserRights = 8;     // down
inline constexpr std::uint8_t kUserList = 9;       // down: the people at the table
inline constexpr std::uint8_t kUserEnter = 10;     // down
inline constexpr std::uint8_t kLeaveTable = 11;    // up
inline constexpr std::uint8_t kUserLeave = 12;     // down: a member left
inline constexpr std::uint8_t kRequestSeat = 13;   // up
inline constexpr std::uint8_t kUserSeat = 14;      // down
inline constexpr std::uint8_t kScores = 16;        // down: scores; up: score report
inline constexpr std::uint8_t kMatchRequest = 18;  // up: returned by the hall as kind 19
inline constexpr std::uint8_t kMatchHost = 19;     // down: game start or echo of kind 18
inline constexpr std::uint8_t kRoomSettings = 20;  // down
inline constexpr std::uint8_t kOpenAddress = 21;   // up: an address to open; down: bank result
inline constexpr std::uint8_t kShoutDialog = 22;   // up
inline constexpr std::uint8_t kUserOffline = 23;   // down
inline constexpr std::uint8_t kAdministrator = 24; // down: table administrator (game host)
inline constexpr std::uint8_t kUserDelay = 30;     // down
inline constexpr std::uint8_t kChatLine = 31;
}  // namespace FrameKind

// Sub-codes of table frames (kind 3).
namespace SubCode {
inline constexpr std::uint8_t kHostRequest = 1;
inline constexpr std::uint8_t kUserJoined = 2;
inline constexpr std::uint8_t kReady = 3;
inline constexpr std::uint8_t kExpel = 4;
inline constexpr std::uint8_t kToSelf = 5;
inline constexpr std::uint8_t kPeerData = 17;
inline constexpr std::uint8_t kTableData = 18;
inline constexpr std::uint8_t kExpelRecord = 20;
inline constexpr std::uint8_t kBankResult = 21;
inline constexpr std::uint8_t kWatchAnswer = 33;
inline constexpr std::uint8_t kGameStart = 49;
inline constexpr std::uint8_t kGameOver = 50;
inline constexpr std::uint8_t kReconnect = 51;
inline constexpr std::uint8_t kSyncState = 52;
inline constexpr std::uint8_t kSetMaster = 53;
inline constexpr std::uint8_t kSystemText = 65;
inline constexpr std::uint8_t kShoutText = 66;
inline constexpr std::uint8_t kChatText = 67;
inline constexpr std::uint8_t kBroadcastText = 68;
inline constexpr std::uint8_t kKindText = 73;
inline constexpr std::uint8_t kAdminText = 81;
inline constexpr std::uint8_t kTableNotice = 82;
inline constexpr std::uint8_t kLeaveSeat = 96;
inline constexpr std::uint8_t kMood = 112;
inline constexpr std::uint8_t kReport = 128;
inline constexpr std::uint8_t kAdminList = 145;
inline constexpr std::uint8_t kDutyList = 146;
inline constexpr std::uint8_t kSilenceList = 147;
inline constexpr std::uint8_t kDutyNotice = 148;
inline constexpr std::uint8_t kHostSync = 149;
inline constexpr std::uint8_t kHostAnnounce = 150;
}  // namespace SubCode

}  // namespace velmora::contract
