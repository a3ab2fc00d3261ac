#pragma once
// What the room client's core needs from outside: the connection, the clock, and the window
// with the rest of the hall (pages, member list, chat, web requests, timers, the plug-in).
// The Qt layer implements them over QTcpSocket, QTimer and the forms; tests with fakes.

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include "hall/foundation/hallcontext.h"

namespace velmora::hall {

class RoomTransport {
public:
    virtual ~RoomTransport() = default;
    // Starts connecting (through the proxy when proxy.ProxyOn). False when the attempt cannot
    // even start; otherwise the outcome arrives as GameClientCore::onConnected or onSocketError.
    virtual bool open(const QString& host, quint16 port, const NetSetting& proxy) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Writes one line with its line end. False on a write error (`error` then says why).
    virtual bool writeLine(const QByteArray& lineWithEnd, QString* error) = 0;
};

class RoomClock {
public:
    virtual ~RoomClock() = default;
    // Milliseconds of a monotonic clock: intervals never go negative, not even at midnight.
    virtual qint64 monotonicMs() const = 0;
    virtual QDateTime localNow() const = 0;
    // The key index of a new login line, 0 to 9.
    virtual int randomKeyIndex() = 0;
};

enum class RoomTimer { Housekeeping, Countdown, Loading };

// Plug-in messages the room client sends on its own (see the plug-in host).
inline constexpr int kPluginMsgGameOver = 3;     // with code 50
inline constexpr int kPluginMsgOnlineState = 23;  // flag 1 offline, 0 online again

// The core starts and stops its timers; whoever implements this calls the core's
// on...Timer method when one fires.
class RoomTimers {
public:
    virtual ~RoomTimers() = default;
    virtual void start(RoomTimer timer, int intervalMs) = 0;
    virtual void stop(RoomTimer timer) = 0;
};

class RoomHost {
public:
    virtual ~RoomHost() = default;

    // Window.
    virtual void setCaptions(const QString& windowCaption, const QString& titleBar) = 0;
    virtual void setSplashText(const QString& text) = 0;
    virtual void setSplashVisible(bool visible) = 0;
    virtual void setRoomEnabled(bool enabled) = 0;  // tables panel, right-hand panel, join button
    virtual void prepareRoomView() = 0;             // template, pages, member list columns, layout
    virtual void showMessage(const QString& text) = 0;
    virtual void hideRoomWindow() = 0;  // the window is hidden, never destroyed

    // Pages and lists.
    virtual void reloadTablesPage() = 0;
    virtual void clearMemberList() = 0;
    virtual void refreshMemberList() = 0;
    virtual void refreshMemberStatus() = 0;
    virtual void appendChat(const QString& html) = 0;

    // Web requests; their failures are the host's to log, never the connection's concern.
    virtual void fetchProfile(qint64 userId, bool refreshList) = 0;
    virtual void fetchAllProfiles() = 0;
    virtual void fetchShouts() = 0;
    virtual void reportDrop(const QString& query) = 0;

    // The hall around the room.
    virtual void roomOnlineChanged(qint32 roomId, qint32 onlinecount) = 0;
    virtual void writeLastRoom(qint32 roomId) = 0;
    virtual void writeLastRoomTime() = 0;
    virtual void deletePlayerPictures() = 0;

    // The game plug-in.
    virtual bool pluginOpen() const = 0;
    virtual bool openPlugin() = 0;
    virtual void closePlugin() = 0;
    virtual void tellPlugin(int type, int code, qint64 userId) = 0;
    virtual void sendTableListToPlugin() = 0;
};

}  // namespace velmora::hall
