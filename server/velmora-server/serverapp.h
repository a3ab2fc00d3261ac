#pragma once
// The velmora-server program as a library: command line, start of the stand-in services in one
// process. The web service is here; the room and video servers join through startServices().
//
//     velmora-server --data DIR [--web HOST:PORT] [--demo]

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

private:
    ServerOptions m_options;
    std::unique_ptr<WebService> m_web;
};

// The program: parse, start, run the event loop. Returns the exit code.
int RunServer(int argc, char** argv);

}  // namespace velmora::server
