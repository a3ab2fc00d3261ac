#include "webtestsupport.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QSslCertificate>
#include <QSslKey>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace velmora::hall::test {

ScriptedServer::ScriptedServer(Script script) : m_script(std::move(script)) {
    m_server.setMissingHandler([this](const QHttpServerRequest& request,
                                      QHttpServerResponder&& responder) {
        SeenRequest seen;
        seen.method = request.method() == QHttpServerRequest::Method::Post ? "POST" : "GET";
        seen.path = request.url().path();
        seen.body = request.body();
        seen.remote = request.remoteAddress();
        for (const auto& [name, value] : request.headers())
            seen.headers.insert(name.toLower(), value);
        const int index = int(m_seen.size());
        m_seen.append(seen);
        const int status = m_script(index);
        const QByteArray body = m_body ? m_body(index) : "reply " + QByteArray::number(index);
        responder.write(body, "text/plain",
                        static_cast<QHttpServerResponder::StatusCode>(status));
    });
}

bool ScriptedServer::listen(const QString& certFile, const QString& keyFile) {
    if (!certFile.isEmpty()) {
        QFile cert(certFile), key(keyFile);
        if (!cert.open(QIODevice::ReadOnly) || !key.open(QIODevice::ReadOnly))
            return false;
        m_server.sslSetup(QSslCertificate(&cert, QSsl::Pem), QSslKey(&key, QSsl::Rsa, QSsl::Pem));
    }
    m_port = m_server.listen(QHostAddress::LocalHost, 0);
    return m_port != 0;
}

QString ScriptedServer::url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path);
}

QString ScriptedServer::httpsUrl(const QString& path) const {
    return QStringLiteral("https://127.0.0.1:%1%2").arg(m_port).arg(path);
}

quint16 FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

bool WaitForPort(quint16 port, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (socket.waitForConnected(200))
            return true;
        QThread::msleep(50);
    }
    return false;
}

QString FindProgram(const QString& name) {
    QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(name, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
    return path;
}

ChildProcess::~ChildProcess() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(2000)) {
            m_process.kill();
            m_process.waitForFinished(2000);
        }
    }
}

bool ChildProcess::start(const QString& program, const QStringList& arguments, quint16 port) {
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(program, arguments);
    return m_process.waitForStarted(3000) && WaitForPort(port);
}

QString ChildProcess::output() { return QString::fromLocal8Bit(m_process.readAll()); }

bool MakeTestCertificate(const QString& folder, QString* certFile, QString* keyFile) {
    const QString openssl = FindProgram(QStringLiteral("openssl"));
    if (openssl.isEmpty())
        return false;
    *certFile = folder + QStringLiteral("/cert.pem");
    *keyFile = folder + QStringLiteral("/key.pem");
    QProcess process;
    process.start(openssl, {QStringLiteral("req"), QStringLiteral("-x509"),
                            QStringLiteral("-newkey"), QStringLiteral("rsa:2048"),
                            QStringLiteral("-nodes"), QStringLiteral("-days"), QStringLiteral("2"),
                            QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
                            QStringLiteral("-addext"), QStringLiteral("subjectAltName=IP:127.0.0.1"),
                            QStringLiteral("-keyout"), *keyFile, QStringLiteral("-out"), *certFile});
    return process.waitForFinished(30000) && process.exitCode() == 0;
}

bool StartTestProxy(const TestProxy& kind, quint16 port, const QTemporaryDir& dir, ChildProcess& proxy,
                    QString* error) {
    error->clear();
    const QString program = FindProgram(QString::fromLatin1(kind.program));
    if (program.isEmpty()) return false;
    const QString source = QString::fromLatin1(kind.sourceAddress);
    QStringList arguments;
    if (kind.proxyType == 0) {
        QFile conf(dir.filePath(QStringLiteral("tinyproxy.conf")));
        if (!conf.open(QIODevice::WriteOnly)) return false;
        // Without ConnectPort lines CONNECT reaches every port (the room servers').
        conf.write(QStringLiteral("Port %1\nListen 127.0.0.1\nBind %2\nBasicAuth user secret\n"
                                  "Allow 127.0.0.1\nMaxClients 10\n")
                       .arg(port).arg(source).toLatin1());
        conf.close();
        arguments = {QStringLiteral("-d"), QStringLiteral("-c"), conf.fileName()};
    } else if (kind.proxyType == 1) {
        arguments = {QStringLiteral("-i"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                     QString::number(port), QStringLiteral("-u"), QStringLiteral("user"),
                     QStringLiteral("-P"), QStringLiteral("secret"), QStringLiteral("-b"), source};
    } else {
        QFile conf(dir.filePath(QStringLiteral("danted.conf")));
        if (!conf.open(QIODevice::WriteOnly)) return false;
        conf.write(QStringLiteral("logoutput: stderr\ninternal: 127.0.0.1 port = %1\n"
                                  "external: %2\nclientmethod: none\nsocksmethod: none\n"
                                  "user.privileged: root\nuser.unprivileged: nobody\n"
                                  "client pass { from: 127.0.0.0/8 to: 0.0.0.0/0 }\n"
                                  "socks pass { from: 127.0.0.0/8 to: 0.0.0.0/0 command: connect }\n")
                       .arg(port).arg(source).toLatin1());
        conf.close();
        arguments = {QStringLiteral("-f"), conf.fileName()};
    }
    if (proxy.start(program, arguments, port)) return true;
    *error = proxy.output();
    if (error->isEmpty()) *error = QStringLiteral("%1 did not start").arg(program);
    return false;
}

}  // namespace velmora::hall::test
