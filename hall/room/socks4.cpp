#include "hall/room/socks4.h"

#include <QHostAddress>

namespace velmora::hall {

std::optional<QByteArray> Socks4ConnectRequest(const QString& host, quint16 port, const QString& userId) {
    const QByteArray user = userId.toUtf8();
    const QByteArray name = host.toUtf8();
    if (name.isEmpty() || name.size() > 255 || name.contains('\0') || user.size() > 255 || user.contains('\0'))
        return std::nullopt;
    QByteArray request;
    request.append(char(4)).append(char(1));
    request.append(static_cast<char>(port >> 8)).append(static_cast<char>(port & 0xFF));
    QHostAddress address;
    const bool ipv4 = address.setAddress(host) && address.protocol() == QAbstractSocket::IPv4Protocol;
    const quint32 ip = ipv4 ? address.toIPv4Address() : 1u;  // 0.0.0.1: the name follows
    for (int shift = 24; shift >= 0; shift -= 8) request.append(static_cast<char>((ip >> shift) & 0xFF));
    request.append(user).append('\0');
    if (!ipv4) request.append(name).append('\0');
    return request;
}

Socks4Reply ParseSocks4Reply(const QByteArray& bytes) {
    if (bytes.size() < 8) return Socks4Reply::Incomplete;
    if (bytes[0] != 0) return Socks4Reply::Malformed;
    switch (static_cast<unsigned char>(bytes[1])) {
    case 0x5A:
        return Socks4Reply::Granted;
    case 0x5B:
    case 0x5C:
    case 0x5D:
        return Socks4Reply::Refused;
    default:
        return Socks4Reply::Malformed;
    }
}

}  // namespace velmora::hall
