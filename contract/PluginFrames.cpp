#include "PluginFrames.h"

#include "platform/codepage/codepage.h"

#include <cstring>

namespace velmora::contract {
namespace {

template <typename T>
void put(QByteArray& b, qsizetype off, T v) {
    auto u = static_cast<std::make_unsigned_t<T>>(v);
    for (std::size_t i = 0; i < sizeof(T); ++i) b[off + qsizetype(i)] = char((u >> (8 * i)) & 0xFF);
}

template <typename T>
T get(const QByteArray& b, qsizetype off) {
    std::make_unsigned_t<T> u = 0;
    for (std::size_t i = sizeof(T); i-- > 0;)
        u = (u << 8) | static_cast<unsigned char>(b[off + qsizetype(i)]);
    return static_cast<T>(u);
}

void putText(QByteArray& b, qsizetype off, const char* src, qsizetype width) {
    for (qsizetype i = 0; i < width; ++i) b[off + i] = src[i];
}

void copyField(char* dst, qsizetype width, const QByteArray& src) {
    std::memset(dst, 0, size_t(width));
    std::memcpy(dst, src.constData(), size_t(std::min(width, src.size())));
}

bool kindIs(const QByteArray& f, quint8 kind, qsizetype minLen) {
    return f.size() >= minLen && quint8(f[0]) == kind;
}

QByteArray idFrame(quint8 kind, qint64 id) {
    QByteArray f(kMemberIdFrame, '\0');
    f[0] = char(kind);
    put<qint64>(f, 1, id);
    return f;
}

}  // namespace

QByteArray encodeUserInfo(const STRU_PLUGIN_USERINFO& u) {
    QByteArray b(kUserInfoSize, '\0');
    put<qint64>(b, 0, u.UserId);
    putText(b, 8, u.NickName, kNickNameSize);
    put<quint16>(b, 32, u.FaceNum);
    put<qint32>(b, 34, u.NetDelay);
    put<qint64>(b, 38, u.Score);
    b[46] = char(u.SeatIndex);
    b[47] = char(u.IsPlayer);
    put<qint32>(b, 48, u.WinCount);
    put<qint32>(b, 52, u.LossCount);
    put<qint32>(b, 56, u.DrawCount);
    put<qint32>(b, 60, u.FleeCount);
    put<qint64>(b, 64, u.GameCoins);
    putText(b, 72, u.NameCopy, kNickNameSize);
    b[96] = char(u.Male);
    b[97] = char(u.Zero[0]);
    b[98] = char(u.Zero[1]);
    b[99] = char(u.Level);
    put<qint64>(b, 100, u.Gold);
    putText(b, 108, u.PhotoFile, kPhotoFileSize);
    return b;
}

std::optional<STRU_PLUGIN_USERINFO> decodeUserInfo(const QByteArray& b, qsizetype offset) {
    if (offset < 0 || b.size() - offset < kUserInfoSize) return std::nullopt;
    const QByteArray r = b.mid(offset, kUserInfoSize);
    STRU_PLUGIN_USERINFO u{};
    u.UserId = get<qint64>(r, 0);
    std::memcpy(u.NickName, r.constData() + 8, kNickNameSize);
    u.FaceNum = get<quint16>(r, 32);
    u.NetDelay = get<qint32>(r, 34);
    u.Score = get<qint64>(r, 38);
    u.SeatIndex = quint8(r[46]);
    u.IsPlayer = quint8(r[47]);
    u.WinCount = get<qint32>(r, 48);
    u.LossCount = get<qint32>(r, 52);
    u.DrawCount = get<qint32>(r, 56);
    u.FleeCount = get<qint32>(r, 60);
    u.GameCoins = get<qint64>(r, 64);
    std::memcpy(u.NameCopy, r.constData() + 72, kNickNameSize);
    u.Male = quint8(r[96]);
    u.Zero[0] = quint8(r[97]);
    u.Zero[1] = quint8(r[98]);
    u.Level = quint8(r[99]);
    u.Gold = get<qint64>(r, 100);
    std::memcpy(u.PhotoFile, r.constData() + 108, kPhotoFileSize);
    return u;
}

STRU_PLUGIN_USERINFO makePluginUserInfo(const RoomMemberFields& m) {
    STRU_PLUGIN_USERINFO u{};
    u.UserId = m.userId;
    const QByteArray name = platform::gbkCut(platform::toGbk(m.userName), kNickNameSize);
    copyField(u.NickName, kNickNameSize, name);
    u.FaceNum = quint16(m.faceNum);
    u.NetDelay = m.speed;
    u.Score = m.point;
    u.SeatIndex = quint8(m.seat - 1);
    u.IsPlayer = m.status == 2 ? 0 : 1;
    u.WinCount = qint32(m.winCount);  // low 32 bits
    u.LossCount = qint32(m.lossCount);
    u.DrawCount = qint32(m.peaceCount);
    u.FleeCount = qint32(m.fleeCount);
    u.GameCoins = m.gold;
    copyField(u.NameCopy, kNickNameSize, name);
    u.Male = m.sex == QStringLiteral("女") ? 0 : 1;
    u.Level = quint8(m.level & 0xFF);
    u.Gold = m.gold;
    copyField(u.PhotoFile, kPhotoFileSize, platform::gbkCut(platform::toGbk(m.photoFile), kPhotoFileSize));
    return u;
}

QByteArray buildRoomSettings(const RoomSettings& s) {
    QByteArray f(kRoomSettingsFrame, '\0');
    f[0] = char(FrameKind::kRoomSettings);
    put<qint32>(f, 1, s.pointMultiple);
    put<qint32>(f, 5, s.goldMultiple);
    f[9] = s.hideTables ? 1 : 0;
    f[10] = s.showUserInfo ? 1 : 0;
    f[11] = s.allowChat ? 1 : 0;
    const QByteArray rules = platform::gbkCut(s.rules, kMaxRulesText);
    f[12] = char(rules.size());
    f.replace(13, rules.size(), rules);
    return f;
}

std::optional<RoomSettings> readRoomSettings(const QByteArray& f) {
    if (!kindIs(f, FrameKind::kRoomSettings, 13)) return std::nullopt;
    RoomSettings s;
    s.pointMultiple = get<qint32>(f, 1);
    s.goldMultiple = get<qint32>(f, 5);
    s.hideTables = f[9] != 0;
    s.showUserInfo = f[10] != 0;
    s.allowChat = f[11] != 0;
    const int n = quint8(f[12]);
    if (n > kMaxRulesText || 13 + n > f.size()) return std::nullopt;
    s.rules = f.mid(13, n);
    return s;
}

QByteArray buildUserList(const std::vector<STRU_PLUGIN_USERINFO>& members) {
    const int n = int(std::min<std::size_t>(members.size(), kMaxListMembers));
    QByteArray f(5, '\0');
    f[0] = char(FrameKind::kUserList);
    put<qint32>(f, 1, n);
    for (int i = 0; i < n; ++i) f += encodeUserInfo(members[std::size_t(i)]);
    return f;
}

std::optional<std::vector<STRU_PLUGIN_USERINFO>> readUserList(const QByteArray& f) {
    if (!kindIs(f, FrameKind::kUserList, 5)) return std::nullopt;
    const qint32 n = get<qint32>(f, 1);
    if (n < 0 || n > kMaxListMembers || f.size() < 5 + qsizetype(n) * kUserInfoSize) return std::nullopt;
    std::vector<STRU_PLUGIN_USERINFO> out;
    out.reserve(std::size_t(n));
    for (qint32 i = 0; i < n; ++i) out.push_back(*decodeUserInfo(f, 5 + qsizetype(i) * kUserInfoSize));
    return out;
}

QByteArray buildAdministrator(qint64 playerId, qint64 adminId) {
    QByteArray f(kAdministratorFrame, '\0');
    f[0] = char(FrameKind::kAdministrator);
    put<qint64>(f, 1, playerId);
    put<qint64>(f, 9, adminId);
    return f;
}

std::optional<Administrator> readAdministrator(const QByteArray& f) {
    if (!kindIs(f, FrameKind::kAdministrator, kAdministratorFrame)) return std::nullopt;
    return Administrator{get<qint64>(f, 1), get<qint64>(f, 9), quint8(f[17])};
}

QByteArray buildMemberLeft(qint64 memberId) { return idFrame(FrameKind::kUserLeave, memberId); }

std::optional<qint64> readMemberLeft(const QByteArray& f) {
    if (!kindIs(f, FrameKind::kUserLeave, kMemberIdFrame)) return std::nullopt;
    return get<qint64>(f, 1);
}

QByteArray buildOffline(qint64 memberId, bool offline) {
    QByteArray f(kOfflineFrame, '\0');
    f[0] = char(FrameKind::kUserOffline);
    put<qint64>(f, 1, memberId);
    f[9] = offline ? 1 : 0;
    return f;
}

std::optional<OfflineFlag> readOffline(const QByteArray& f) {
    if (!kindIs(f, FrameKind::kUserOffline, kOfflineFrame)) return std::nullopt;
    return OfflineFlag{get<qint64>(f, 1), f[9] != 0};
}

QByteArray buildGameStart(qint64 adminId) {
    QByteArray f(kGameStartFrame, '\0');
    f[0] = char(FrameKind::kMatchHost);
    put<qint64>(f, 2, adminId);
    return f;
}

std::optional<QByteArray> buildMatchHostEcho(const QByteArray& r) {
    if (!kindIs(r, FrameKind::kMatchRequest, 14)) return std::nullopt;
    const qint32 n = get<qint32>(r, 10);
    if (n < 0 || n > r.size() - 14 || kMatchHostHeader + n > kMaxFrame) return std::nullopt;
    QByteArray f(kMatchHostHeader, '\0');
    f[0] = char(FrameKind::kMatchHost);
    f[1] = r[1];
    f.replace(2, 8, r.mid(2, 8));
    f.replace(10, 8, r.mid(2, 8));
    put<qint32>(f, 18, n);
    f += r.mid(14, n);
    return f;
}

std::optional<MatchHost> readMatchHost(const QByteArray& f) {
    if (!kindIs(f, FrameKind::kMatchHost, kMatchHostHeader)) return std::nullopt;
    const qint32 n = get<qint32>(f, 18);
    if (n < 0 || n > f.size() - kMatchHostHeader) return std::nullopt;
    return MatchHost{quint8(f[1]), get<qint64>(f, 2), get<qint32>(f, 10), get<qint32>(f, 14),
                     f.mid(kMatchHostHeader, n)};
}

QByteArray buildScores(const std::vector<ScoreEntry>& entries) {
    const int n = int(std::min<std::size_t>(entries.size(), kMaxScoreEntries));
    QByteArray f(6 + n * kScoreEntrySize, '\0');
    f[0] = char(FrameKind::kScores);
    f[1] = 1;
    put<qint32>(f, 2, n);
    for (int i = 0; i < n; ++i) {
        const ScoreEntry& e = entries[std::size_t(i)];
        const qsizetype o = 6 + qsizetype(i) * kScoreEntrySize;
        put<qint64>(f, o, e.memberId);
        put<qint64>(f, o + 8, e.scoreChange);
        put<qint64>(f, o + 16, e.scoreTotal);
        put<qint64>(f, o + 24, e.goldChange);
        put<qint64>(f, o + 32, e.goldTotal);
        put<qint32>(f, o + 40, e.card);
    }
    return f;
}

std::optional<Scores> readScores(const QByteArray& f) {
    if (!kindIs(f, FrameKind::kScores, 6)) return std::nullopt;
    const qint32 n = get<qint32>(f, 2);
    if (n < 0 || n > kMaxScoreEntries || f.size() < 6 + qsizetype(n) * kScoreEntrySize) return std::nullopt;
    Scores s;
    s.resultKind = quint8(f[1]);
    for (qint32 i = 0; i < n; ++i) {
        const qsizetype o = 6 + qsizetype(i) * kScoreEntrySize;
        s.entries.push_back({get<qint64>(f, o), get<qint64>(f, o + 8), get<qint64>(f, o + 16),
                             get<qint64>(f, o + 24), get<qint64>(f, o + 32), get<qint32>(f, o + 40)});
    }
    return s;
}

std::optional<QByteArray> buildTableFrame(qint64 memberId, quint8 subCode, const QByteArray& payload,
                                          bool fullBuffer) {
    if (payload.size() > kMaxTablePayload) return std::nullopt;
    QByteArray f(kTableHeader, '\0');
    f[0] = char(FrameKind::kTable);
    put<qint64>(f, 1, memberId);
    f[9] = char(subCode);
    f += payload;
    if (fullBuffer) f.append(kMaxFrame - f.size(), '\0');
    return f;
}

std::optional<TableFrame> readTableFrame(const QByteArray& f) {
    if (!kindIs(f, FrameKind::kTable, kTableHeader)) return std::nullopt;
    return TableFrame{get<qint64>(f, 1), quint8(f[9]), f.mid(kTableHeader)};
}

QByteArray tableText(const QByteArray& payload) {
    const QByteArray head = payload.left(kMaxTablePayload);
    const qsizetype zero = head.indexOf('\0');
    return zero < 0 ? head : head.left(zero);
}

QByteArray buildReady(qint64 memberId) { return *buildTableFrame(memberId, SubCode::kReady, {}, true); }

QByteArray buildGameOver(qint64 memberId) { return *buildTableFrame(memberId, SubCode::kGameOver, {}, true); }

QByteArray buildTableChat(qint64 memberId, const QString& text) {
    return *buildTableFrame(memberId, SubCode::kChatText,
                            platform::gbkCut(platform::toGbk(text), kMaxTablePayload), true);
}

QByteArray buildShout(qint64 playerId, const QString& text) {
    QString cut = text.left(kMaxShoutChars);
    if (cut.size() == kMaxShoutChars && cut.back().isHighSurrogate()) cut.chop(1);
    return *buildTableFrame(playerId, SubCode::kBroadcastText,
                            platform::gbkCut(platform::toGbk(cut), kMaxTablePayload), true);
}

std::optional<QByteArray> buildBroadcast40(const QByteArray& message, qint64 memberId) {
    if (message.isEmpty()) return std::nullopt;
    QByteArray f(kMaxFrame, '\0');
    f[0] = message[0];
    put<qint64>(f, 1, memberId);
    f[9] = message.size() > 1 ? message[1] : '\0';
    return f;
}

QByteArray buildRefreshUsers(qint64 ownId) { return idFrame(FrameKind::kRefreshUsers, ownId); }

QByteArray buildShoutDialog(qint64 ownId) { return idFrame(FrameKind::kShoutDialog, ownId); }

QByteArray buildScoreReport(const QByteArray& text) {
    QByteArray f(1, char(FrameKind::kScores));
    return f + text.left(kMaxFrame - 1);
}

std::optional<QByteArray> readScoreReport(const QByteArray& f) {
    if (!kindIs(f, FrameKind::kScores, 2)) return std::nullopt;
    return f.mid(1);
}

std::optional<QByteArray> buildOpenAddress(const QByteArray& address) {
    if (address.size() > kMaxAddressText) return std::nullopt;
    QByteArray f(1 + kMaxAddressText, '\0');
    f[0] = char(FrameKind::kOpenAddress);
    f.replace(1, address.size(), address);
    return f;
}

std::optional<QByteArray> readOpenAddress(const QByteArray& f) {
    if (!kindIs(f, FrameKind::kOpenAddress, 2)) return std::nullopt;
    const QByteArray field = f.mid(1, kMaxAddressText);
    const qsizetype zero = field.indexOf('\0');
    const QByteArray text = zero < 0 ? field : field.left(zero);
    if (text.isEmpty()) return std::nullopt;
    return text;
}

std::optional<QByteArray> buildMatchRequest(const MatchRequest& r) {
    if (14 + r.data.size() > kMaxFrame) return std::nullopt;
    QByteArray f(14, '\0');
    f[0] = char(FrameKind::kMatchRequest);
    f[1] = char(r.value);
    put<qint64>(f, 2, r.memberId);
    put<qint32>(f, 10, qint32(r.data.size()));
    return f + r.data;
}

std::optional<MatchRequest> readMatchRequest(const QByteArray& f) {
    if (!kindIs(f, FrameKind::kMatchRequest, 14)) return std::nullopt;
    const qint32 n = get<qint32>(f, 10);
    if (n < 0 || n > f.size() - 14) return std::nullopt;
    return MatchRequest{quint8(f[1]), get<qint64>(f, 2), f.mid(14, n)};
}

}  // namespace velmora::contract
