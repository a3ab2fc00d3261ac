#pragma once
// The SOCKS version 4 handshake (with the 4a extension for host names), which Qt's sockets do
// not offer: one request, one 8-byte reply.

#include <QByteArray>
#include <QString>
#include <optional>

namespace velmora::hall {

// The CONNECT request for host:port with the given user id. A host that is not an IPv4 address
// is sent by name (SOCKS4a). Nothing when the host or user id cannot be sent (empty host, a
// zero byte inside, longer than 255 bytes).
std::optional<QByteArray> Socks4ConnectRequest(const QString& host, quint16 port, const QString& userId);

enum class Socks4Reply { Incomplete, Granted, Refused, Malformed };
// Reads the reply at the start of `bytes` (8 bytes when complete).
Socks4Reply ParseSocks4Reply(const QByteArray& bytes);

}  // namespace velmora::hall
