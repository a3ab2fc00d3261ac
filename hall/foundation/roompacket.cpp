#include "hall/foundation/roompacket.h"

#include <QStringList>
#include <limits>

#include "hall/foundation/publicfunc.h"

namespace velmora::hall {
namespace {

bool isBlank(QChar c) { return c.unicode() <= 32; }

QStringView trimBlanks(QStringView s) {
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isBlank(s[b])) ++b;
    while (e > b && isBlank(s[e - 1])) --e;
    return s.mid(b, e - b);
}

// Strict decimal: an optional "-", then 1 to 19 digits, within the target range.
std::optional<qint64> parseDecimal(QStringView s, qint64 min, qint64 max) {
    if (s.isEmpty()) return std::nullopt;
    qsizetype i = 0;
    const bool negative = s[0] == QLatin1Char('-');
    if (negative) ++i;
    if (i == s.size() || s.size() - i > 19) return std::nullopt;
    quint64 v = 0;
    for (; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c < u'0' || c > u'9') return std::nullopt;
        v = v * 10 + (c - u'0');
    }
    if (v > static_cast<quint64>(std::numeric_limits<qint64>::max())) return std::nullopt;
    const qint64 r = negative ? -static_cast<qint64>(v) : static_cast<qint64>(v);
    if (r < min || r > max) return std::nullopt;
    return r;
}

std::optional<qint32> parseInt32(QStringView s) {
    const auto v = parseDecimal(s, std::numeric_limits<qint32>::min(),
                                std::numeric_limits<qint32>::max());
    return v ? std::optional<qint32>(static_cast<qint32>(*v)) : std::nullopt;
}

}  // namespace

const std::array<QString, 10> RoomKeyTable = {
    QStringLiteral("Vx3kPq9L"), QStringLiteral("h7TzR2mW"), QStringLiteral("c4NbY8sE"),
    QStringLiteral("Lp6uGd1J"), QStringLiteral("wZ5eKr0A"), QStringLiteral("tF9yMx3Q"),
    QStringLiteral("B2oHj7Vn"), QStringLiteral("sD8gUc4X"), QStringLiteral("mR1aWk6Y"),
    QStringLiteral("Ge0iNv5T"),
};

static std::optional<STRU_DATA> parsePacket(const QString& text, bool allowEmptyBody) {
    QStringView pieces[4];
    int count = 0;
    const QStringView line = trimBlanks(text);
    qsizetype start = 0;
    while (start <= line.size() && count < 4) {
        qsizetype bar = line.indexOf(QLatin1Char('|'), start);
        if (bar < 0) bar = line.size();
        const QStringView piece = trimBlanks(line.mid(start, bar - start));
        if (!piece.isEmpty()) pieces[count++] = piece;
        start = bar + 1;
    }
    // A request with an empty body still ends with the "|" after its command ("0|7_12|50|").
    const bool emptyBody = allowEmptyBody && count == 3 && line.endsWith(QLatin1Char('|'));
    if (count < 4 && !emptyBody) return std::nullopt;

    const qsizetype underscore = pieces[1].indexOf(QLatin1Char('_'));
    if (underscore < 0) return std::nullopt;
    const auto datatype = parseInt32(pieces[0]);
    const auto fsocket = parseInt32(pieces[1].left(underscore));
    const auto seq = parseInt32(pieces[1].mid(underscore + 1));
    const auto command = parseInt32(pieces[2]);
    if (!datatype || !fsocket || !seq || !command) return std::nullopt;
    return STRU_DATA{*datatype, *fsocket, *seq, *command, pieces[3].toString()};
}

std::optional<STRU_DATA> TryParseRoomPacket(const QString& text) { return parsePacket(text, false); }

std::optional<STRU_DATA> TryParseRequestPacket(const QString& text) { return parsePacket(text, true); }

STRU_DATA ParseRoomPacket(const QString& text) {
    auto packet = TryParseRoomPacket(text);
    if (!packet) throw RoomPacketError("malformed room packet");
    return std::move(*packet);
}

QString BuildLoginLine(int keyIndex, const QString& token, qint64 userId) {
    if (keyIndex < 0 || keyIndex > 9) keyIndex = 0;
    return QString::number(keyIndex) +
           ScrambleText(token + QLatin1Char('|') + QString::number(userId),
                        RoomKeyTable[static_cast<size_t>(keyIndex)]);
}

std::optional<LoginLine> ParseLoginLine(const QString& wire) {
    const QStringView line = trimBlanks(wire);
    if (line.size() < 2 || line[0] < QLatin1Char('0') || line[0] > QLatin1Char('9'))
        return std::nullopt;
    const int k = line[0].unicode() - u'0';
    const QString text =
        UnscrambleText(line.mid(1).toString(), RoomKeyTable[static_cast<size_t>(k)]);
    const qsizetype bar = text.lastIndexOf(QLatin1Char('|'));
    if (bar <= 0) return std::nullopt;
    const auto userId = parseDecimal(QStringView(text).mid(bar + 1), 0,
                                     std::numeric_limits<qint64>::max());
    if (!userId) return std::nullopt;
    return LoginLine{k, text.left(bar), *userId};
}

QString FormatPacket(const STRU_DATA& p) {
    return QString::number(p.datatype) + QLatin1Char('|') + QString::number(p.fsocket) +
           QLatin1Char('_') + QString::number(p.seq) + QLatin1Char('|') +
           QString::number(p.command) + QLatin1Char('|') + p.data;
}

QString BuildRequestLine(qint32 fsocket, qint32 seq, qint32 command, const QString& body,
                         const QString& key) {
    return ScrambleText(FormatPacket(STRU_DATA{0, fsocket, seq, command, body}), key);
}

QString BuildPacketLine(const STRU_DATA& packet, const QString& key) {
    return ScrambleText(FormatPacket(packet), key);
}

}  // namespace velmora::hall
