#pragma once
// Builders and readers of the hall-plug-in frames (layouts in PluginPublic50.h and below).
// Builders produce the exact bytes; readers check every length, count and offset against the
// frame they are given and answer nothing for a frame that is too short or inconsistent (the
// caller drops it with a log line). Readers never read past the frame.

#include "contract/PluginPublic50.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace velmora::contract {

// --- The member record ---

QByteArray encodeUserInfo(const STRU_PLUGIN_USERINFO& info);  // 308 bytes, little-endian
std::optional<STRU_PLUGIN_USERINFO> decodeUserInfo(const QByteArray& bytes, qsizetype offset = 0);

// The fields of a room member the hall fills a record from.
struct RoomMemberFields {
    qint64 userId = 0;
    QString userName;
    int faceNum = 0;
    int speed = 0;
    qint64 point = 0;
    int seat = 0;    // 1-based; SeatIndex is seat - 1
    int status = 0;  // 2: watching
    qint64 winCount = 0;
    qint64 lossCount = 0;
    qint64 peaceCount = 0;
    qint64 fleeCount = 0;
    qint64 gold = 0;
    QString sex;  // "女" marks a woman
    int level = 0;
    QString photoFile;  // local file name of the member's picture
};
STRU_PLUGIN_USERINFO makePluginUserInfo(const RoomMemberFields& member);

// --- Hall to plug-in ---

struct RoomSettings {
    qint32 pointMultiple = 0;
    qint32 goldMultiple = 0;
    bool hideTables = false;     // the room hides its tables page (match room)
    bool showUserInfo = false;
    bool allowChat = false;
    QByteArray rules;  // GBK, at most 100 bytes (cut at a character boundary by the builder)
};
QByteArray buildRoomSettings(const RoomSettings& s);  // kind 20, 113 bytes
std::optional<RoomSettings> readRoomSettings(const QByteArray& frame);

// Kind 9, 5 + 308 * n bytes. Only the first 20 members fit; the rest are left out.
QByteArray buildUserList(const std::vector<STRU_PLUGIN_USERINFO>& members);
std::optional<std::vector<STRU_PLUGIN_USERINFO>> readUserList(const QByteArray& frame);

struct Administrator {
    qint64 addressee = 0;  // the player
    qint64 hostId = 0;     // the table administrator
    quint8 value = 0;
};
QByteArray buildAdministrator(qint64 playerId, qint64 adminId);  // kind 24, 18 bytes
std::optional<Administrator> readAdministrator(const QByteArray& frame);

QByteArray buildMemberLeft(qint64 memberId);  // kind 12, 9 bytes
std::optional<qint64> readMemberLeft(const QByteArray& frame);

QByteArray buildOffline(qint64 memberId, bool offline);  // kind 23, 10 bytes
struct OfflineFlag {
    qint64 memberId = 0;
    bool offline = false;
};
std::optional<OfflineFlag> readOffline(const QByteArray& frame);

// Kind 19. The game start (222 bytes) and the echo of the plug-in's kind 18 share one layout:
// [1] value, [2..9] member, [10..13] and [14..17] two integers, [18..21] text length n,
// [22..] n bytes of text.
struct MatchHost {
    quint8 value = 0;
    qint64 memberId = 0;
    qint32 first = 0;
    qint32 second = 0;
    QByteArray text;
};
QByteArray buildGameStart(qint64 adminId);
// The echo: [1] byte 1 of frame 18, [2..9] and [10..17] its bytes 2..9 twice, [18..21] n (its
// Integer at 10), [22..] its n bytes from 14. Nothing when frame 18 is short or n does not fit.
std::optional<QByteArray> buildMatchHostEcho(const QByteArray& frame18);
std::optional<MatchHost> readMatchHost(const QByteArray& frame);

struct ScoreEntry {
    qint64 memberId = 0;
    qint64 scoreChange = 0;
    qint64 scoreTotal = 0;
    qint64 goldChange = 0;
    qint64 goldTotal = 0;
    qint32 card = 0;
};
// Kind 16, [1] 1, [2..5] n, n entries of 44 bytes. At most 10 entries (the rest are left out).
QByteArray buildScores(const std::vector<ScoreEntry>& entries);
struct Scores {
    quint8 resultKind = 0;
    std::vector<ScoreEntry> entries;
};
std::optional<Scores> readScores(const QByteArray& frame);

// --- Table frames (kind 3), both ways ---

struct TableFrame {
    qint64 memberId = 0;
    quint8 subCode = 0;
    QByteArray payload;
};
// Header and payload (at most 503 bytes; a longer payload gives nothing). The hall sends its
// table frames in a zero-filled buffer of 513 bytes (`fullBuffer`); the plug-in sends only the
// used bytes.
std::optional<QByteArray> buildTableFrame(qint64 memberId, quint8 subCode, const QByteArray& payload,
                                          bool fullBuffer);
std::optional<TableFrame> readTableFrame(const QByteArray& frame);
// Text in a payload: up to its first zero byte, at most 503 bytes.
QByteArray tableText(const QByteArray& payload);

QByteArray buildReady(qint64 memberId);     // 3/3, 513 bytes
QByteArray buildGameOver(qint64 memberId);  // 3/50, 513 bytes
// 3/67: table chat or a prop notice, GBK, cut to 503 bytes at a character boundary.
QByteArray buildTableChat(qint64 memberId, const QString& text);
// 3/68: a shout, at most 250 characters.
QByteArray buildShout(qint64 playerId, const QString& text);
// Broadcast 40: [0] the message's first byte, [1..8] member, [9] its second byte (0 when the
// message has one byte). Nothing for an empty message (no kind to send).
std::optional<QByteArray> buildBroadcast40(const QByteArray& messageGbk, qint64 memberId);

// --- Plug-in to hall ---

QByteArray buildRefreshUsers(qint64 ownId);  // kind 7, 9 bytes
QByteArray buildShoutDialog(qint64 ownId);   // kind 22, 9 bytes
QByteArray buildScoreReport(const QByteArray& text);  // kind 16: [1..] the report text
// Kind 16 from the plug-in: bytes 1 to the end as text. Nothing for a frame of one byte.
std::optional<QByteArray> readScoreReport(const QByteArray& frame);
// Kind 21: [1..100] an address, zero-padded. Longer addresses give nothing.
std::optional<QByteArray> buildOpenAddress(const QByteArray& address);
std::optional<QByteArray> readOpenAddress(const QByteArray& frame);
// Kind 18: [1] value, [2..9] member, [10..13] n, [14..] n bytes.
struct MatchRequest {
    quint8 value = 0;
    qint64 memberId = 0;
    QByteArray data;
};
std::optional<QByteArray> buildMatchRequest(const MatchRequest& r);
std::optional<MatchRequest> readMatchRequest(const QByteArray& frame);

}  // namespace velmora::contract
