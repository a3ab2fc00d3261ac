#pragma once
// Room protocol lines: the received packet record, the parser, and the builders of the login
// line and of request lines.
//
// Wire form of every line: ScrambleText of "datatype|fsocket_seq|command|body", one line per
// packet, ended by LF (CR LF through a proxy). The first line of a connection is the login
// line: one digit k, then ScrambleText(token + "|" + userid, RoomKeyTable[k]).

#include <QString>
#include <array>
#include <optional>
#include <stdexcept>

namespace velmora::hall {

// One received room packet.
struct STRU_DATA {
    qint32 datatype = 0;  // 0 request from a client, 1 reply to own request, 2 broadcast
    qint32 fsocket = 0;   // the server's number for the client connection
    qint32 seq = 0;       // the sender's sequence number
    qint32 command = 0;   // command number; in a reply the result code (1 success)
    QString data;         // the body: name=value items joined by "&"

    bool operator==(const STRU_DATA&) const = default;
};

enum class PacketKind : qint32 { Request = 0, Reply = 1, Broadcast = 2 };

class RoomPacketError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses an unscrambled line; throws RoomPacketError for a malformed one (fewer than four
// non-empty pieces, no "_" in piece 1, a number that is not a decimal 32-bit integer).
STRU_DATA ParseRoomPacket(const QString& text);
// The same without the exception.
std::optional<STRU_DATA> TryParseRoomPacket(const QString& text);
// A client's request line as the room server reads it: like a server packet, except that the
// body may be empty ("0|7_12|50|" is the keep-alive).
std::optional<STRU_DATA> TryParseRequestPacket(const QString& text);

// The ten keys that scramble login lines. The room server holds the same table.
extern const std::array<QString, 10> RoomKeyTable;

// The login line for key index k (0..9): k followed by the scrambled "token|userid".
QString BuildLoginLine(int keyIndex, const QString& token, qint64 userId);
// The inverse, for the server: key index, token and user id; nothing for a malformed line.
struct LoginLine {
    int keyIndex = 0;
    QString token;
    qint64 userId = 0;
};
std::optional<LoginLine> ParseLoginLine(const QString& wire);

// The unscrambled text of a packet: "datatype|fsocket_seq|command|body".
QString FormatPacket(const STRU_DATA& packet);
// A scrambled request line "0|fsocket_seq|command|body" (no line end).
QString BuildRequestLine(qint32 fsocket, qint32 seq, qint32 command, const QString& body,
                         const QString& key = QString());
// A scrambled server packet line (no line end), for the room server.
QString BuildPacketLine(const STRU_DATA& packet, const QString& key = QString());

// Sequence numbers of one connection: 1 when the connection is made, raised by one before
// every request, so the first request carries 2.
class RequestSequence {
public:
    void reset() { m_seq = 1; }
    qint32 next() { return ++m_seq; }
    qint32 current() const { return m_seq; }

private:
    qint32 m_seq = 1;
};

}  // namespace velmora::hall
