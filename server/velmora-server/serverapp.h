#pragma once
// The velmora-server program as a library: command line, start of the stand-in services in one
// process. The web service is here; the room and video servers join through startServices().
//
//     velmora-server --data DIR [--web HOST:PORT] [--demo] [--no-rooms]

#include "server/room/roomservices.h"
#include "server/web/webservice.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace velmora::server {

struct ServerOptions {
    QString dataFolder;
    QHostAddress webHost = QHostAddress::LocalHost;
    quint16 webPort = 18080;
    bool demo = false;
    bool rooms = true;  // start the room servers the database's rooms name
};

// Nothing (with a message in `error`) for a bad command line; `arguments` excludes the program
// name. --data defaults to $XDG_DATA_HOME/Velmora.
std::optional<ServerOptions> ParseServerArguments(const QStringList& arguments, QString* error);

// "HOST:PORT", "[v6]:PORT" or ":PORT".
bool ParseListenAddress(const QString& text, QHostAddress* host, quint16* port);

class ServerApp {
public:
    explicit ServerApp(ServerOptions options);
    // Starts every service; false with a reason when one cannot start.
    bool start(QString* error);
    WebService* web() { return m_web.get(); }
    RoomServices* rooms() { return m_rooms.get(); }
    // Why some room server did not start (the web service runs regardless); empty when all did.
    const QString& roomWarning() const { return m_roomWarning; }

private:
    ServerOptions m_options;
    std::unique_ptr<WebService> m_web;
    std::unique_ptr<RoomServices> m_rooms;
    QString m_roomWarning;
};

// The program: parse, start, run the event loop. Returns the exit code.
int RunServer(int argc, char** argv);

}  // namespace velmora::server
