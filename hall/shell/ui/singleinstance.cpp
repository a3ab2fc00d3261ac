#include "hall/shell/ui/singleinstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <unistd.h>

namespace velmora::hall {

SingleInstance::SingleInstance(const QString& name, QObject* parent)
    : QObject(parent), m_serverName(name + QStringLiteral("-") + QString::number(::getuid())) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    // The lock sits beside the user's settings when XDG_CONFIG_HOME names a private tree
    // (tests), so that separate trees do not see each other.
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!config.isEmpty()) {
        folder = config;
        m_serverName += QStringLiteral("-") + QString::number(qHash(config));
    }
    QDir().mkpath(folder);
    m_lock = std::make_unique<QLockFile>(folder + QLatin1Char('/') + m_serverName + QStringLiteral(".lock"));
    m_lock->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() { release(); }

bool SingleInstance::acquire() {
    if (!m_lock->tryLock(0))
        return false;
    QLocalServer::removeServer(m_serverName);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            socket->deleteLater();
            if (onRaise)
                onRaise();
        }
    });
    if (!m_server->listen(m_serverName))
        qWarning("single instance: cannot listen on %s", qPrintable(m_serverName));
    return true;
}

void SingleInstance::release() {
    if (m_server) {
        m_server->close();
        delete m_server;
        m_server = nullptr;
    }
    if (m_lock && m_lock->isLocked())
        m_lock->unlock();
}

bool SingleInstance::signalRunning() {
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(2000))
        return false;
    socket.write("raise\n");
    socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    return true;
}

}  // namespace velmora::hall
