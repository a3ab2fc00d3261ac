#include "server/velmora-server/serverapp.h"

#include <QCoreApplication>

#include "server/room/roomserverhost.h"
#include <QStandardPaths>
#include <cstdio>

namespace velmora::server {

bool ParseListenAddress(const QString& text, QHostAddress* host, quint16* port) {
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon < 0)
        return false;
    QString hostText = text.left(colon);
    bool ok = false;
    const uint number = text.mid(colon + 1).toUInt(&ok);
    if (!ok || number > 65535)
        return false;
    if (hostText.startsWith(QLatin1Char('[')) && hostText.endsWith(QLatin1Char(']')))
        hostText = hostText.mid(1, hostText.size() - 2);
    QHostAddress address = QHostAddress::LocalHost;
    if (hostText == QLatin1String("localhost"))
        address = QHostAddress::LocalHost;
    else if (hostText == QLatin1String("*"))
        address = QHostAddress::Any;
    else if (!hostText.isEmpty() && !address.setAddress(hostText))
        return false;
    *host = address;
    *port = quint16(number);
    return true;
}

std::optional<ServerOptions> ParseServerArguments(const QStringList& arguments, QString* error) {
    ServerOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        auto next = [&]() -> std::optional<QString> {
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments[++i];
        };
        if (arg == QLatin1String("--data")) {
            const auto value = next();
            if (!value || value->isEmpty()) {
                *error = QStringLiteral("--data needs a folder");
                return std::nullopt;
            }
            options.dataFolder = *value;
        } else if (arg == QLatin1String("--web")) {
            const auto value = next();
            if (!value || !ParseListenAddress(*value, &options.webHost, &options.webPort)) {
                *error = QStringLiteral("--web needs HOST:PORT");
                return std::nullopt;
            }
        } else if (arg == QLatin1String("--demo")) {
            options.demo = true;
        } else if (arg == QLatin1String("--no-rooms")) {
            options.rooms = false;
        } else {
            *error = QStringLiteral("unknown argument: ") + arg;
            return std::nullopt;
        }
    }
    if (options.dataFolder.isEmpty())
        options.dataFolder =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Velmora");
    return options;
}

ServerApp::ServerApp(ServerOptions options) : m_options(std::move(options)) {}

bool ServerApp::start(QString* error) {
    WebServiceConfig config;
    config.dataFolder = m_options.dataFolder;
    config.host = m_options.webHost;
    config.port = m_options.webPort;
    config.demo = m_options.demo;
    m_web = std::make_unique<WebService>(config);
    if (!m_web->start(error)) return false;
    if (!m_options.rooms) return true;
    // The room servers open their own connection to the same database (after the web service
    // has created and seeded it). A room server that cannot listen leaves the web service up.
    m_rooms = std::make_unique<RoomServices>(m_options.dataFolder);
    m_rooms->start(&m_roomWarning);
    return true;
}

int RunServer(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString error;
    const auto options = ParseServerArguments(app.arguments().mid(1), &error);
    if (!options) {
        std::fprintf(stderr,
                     "velmora-server: %s\nusage: velmora-server --data DIR [--web HOST:PORT] [--demo] [--no-rooms]\n",
                     qPrintable(error));
        return 2;
    }
    ServerApp server(*options);
    if (!server.start(&error)) {
        std::fprintf(stderr, "velmora-server: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("velmora-server: web service on %s (data %s)\n",
                qPrintable(server.web()->baseUrl()), qPrintable(options->dataFolder));
    if (server.rooms() != nullptr && server.rooms()->host() != nullptr)
        for (RoomTcpServer* room : server.rooms()->host()->servers())
            std::printf("velmora-server: room server on %s:%u\n", qPrintable(room->core().host()),
                        room->serverPort());
    if (!server.roomWarning().isEmpty())
        std::fprintf(stderr, "velmora-server: room servers: %s\n", qPrintable(server.roomWarning()));
    std::fflush(stdout);
    return app.exec();
}

}  // namespace velmora::server
