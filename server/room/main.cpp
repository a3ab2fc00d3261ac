// velmora-roomserver: the room servers alone, against the web service's database.
//
//     velmora-roomserver [--data DIR] [--listen HOST:PORT]
//
// Without --listen it serves every address the database's rooms name; with it only that one,
// so that several processes (or machines sharing the database file) split the rooms.

#include <QCoreApplication>
#include <QStandardPaths>
#include <cstdio>

#include "server/room/roomserverhost.h"
#include "server/room/roomservices.h"

using namespace velmora::server;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString dataFolder;
    QString onlyHost;
    quint16 onlyPort = 0;
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--data") && hasValue) {
            dataFolder = args[++i];
        } else if (a == QLatin1String("--listen") && hasValue) {
            const QString value = args[++i];
            const qsizetype colon = value.lastIndexOf(QLatin1Char(':'));
            bool ok = false;
            const uint port = colon > 0 ? value.mid(colon + 1).toUInt(&ok) : 0;
            if (!ok || port == 0 || port > 65535) {
                std::fprintf(stderr, "bad --listen address: %s\n", qPrintable(value));
                return 2;
            }
            onlyHost = value.left(colon);
            onlyPort = static_cast<quint16>(port);
        } else {
            std::fprintf(stderr, "usage: velmora-roomserver [--data DIR] [--listen HOST:PORT]\n");
            return 2;
        }
    }
    if (dataFolder.isEmpty())
        dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                     QStringLiteral("/Velmora");

    RoomServices services(dataFolder);
    if (onlyPort != 0) services.restrictTo(onlyHost, onlyPort);
    QString error;
    if (!services.start(&error)) {
        std::fprintf(stderr, "velmora-roomserver: %s\n", qPrintable(error));
        return 1;
    }
    if (!error.isEmpty()) std::fprintf(stderr, "velmora-roomserver: %s\n", qPrintable(error));
    for (RoomTcpServer* s : services.host()->servers())
        std::printf("room server on %s:%u\n", qPrintable(s->core().host()), s->serverPort());
    std::fflush(stdout);
    return app.exec();
}
