#pragma once
// The room connection over QTcpSocket: direct, or through an HTTP proxy (CONNECT), SOCKS5
// (both Qt's own) or SOCKS4 (our handshake). Every connection is a fresh socket; closing one
// cuts its signals first, so nothing of an old connection reaches the core afterwards.

#include <QObject>
#include <QPointer>
#include <QTcpSocket>
#include <functional>

#include "hall/room/roomports.h"

namespace velmora::hall {

class RoomSocket : public QObject, public RoomTransport {
    Q_OBJECT
public:
    struct Events {
        std::function<void()> connected;
        std::function<void(const QByteArray&)> data;
        std::function<void(const QString&)> error;
        std::function<void()> disconnected;
    };

    explicit RoomSocket(QObject* parent = nullptr);
    ~RoomSocket() override;
    void setEvents(Events events) { m_events = std::move(events); }

    bool open(const QString& host, quint16 port, const NetSetting& proxy) override;
    void close() override;
    bool isOpen() const override;
    bool writeLine(const QByteArray& lineWithEnd, QString* error) override;
    // Raised by every open and close: a queued event of an older connection is recognised by it.
    quint64 generation() const { return m_generation; }

private:
    void onSocketConnected();
    void onReadyRead();
    void onError();
    void onDisconnected();

    Events m_events;
    QPointer<QTcpSocket> m_socket;
    bool m_ready = false;       // connected, and through the SOCKS4 handshake where there is one
    bool m_socks4 = false;
    QByteArray m_socks4Reply;
    QString m_targetHost;
    quint16 m_targetPort = 0;
    QString m_socksUser;
    quint64 m_generation = 0;
};

}  // namespace velmora::hall
