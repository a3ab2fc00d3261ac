#pragma once
// Helpers of the web client tests: a scripted HTTP server in the test's own thread (served
// while HttpRequest spins its local event loop) and proxy programs started on loopback ports.

#include <QByteArray>
#include <QHostAddress>
#include <QHttpServer>
#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace velmora::hall::test {

struct SeenRequest {
    QByteArray method;
    QString path;
    QByteArray body;
    QHostAddress remote;
    QHash<QByteArray, QByteArray> headers;  // names lower-cased
};

class ScriptedServer {
public:
    // Status of the n-th request (from 0); the body is "reply n".
    using Script = std::function<int(int)>;
    explicit ScriptedServer(Script script = [](int) { return 200; });
    // Serves TLS with the given PEM certificate and key.
    bool listen(const QString& certFile = QString(), const QString& keyFile = QString());
    QString url(const QString& path = QStringLiteral("/x")) const;
    QString httpsUrl(const QString& path = QStringLiteral("/x")) const;
    const QList<SeenRequest>& seen() const { return m_seen; }
    // Replaces the "reply n" body.
    void setBody(std::function<QByteArray(int)> body) { m_body = std::move(body); }

private:
    Script m_script;
    std::function<QByteArray(int)> m_body;
    QHttpServer m_server;
    quint16 m_port = 0;
    QList<SeenRequest> m_seen;
};

quint16 FreePort();
// Waits until something accepts connections on 127.0.0.1:port.
bool WaitForPort(quint16 port, int timeoutMs = 5000);
// The program's full path, or empty when it is not installed.
QString FindProgram(const QString& name);

// A child process ended (terminate, then kill) when the object goes.
class ChildProcess {
public:
    ~ChildProcess();
    bool start(const QString& program, const QStringList& arguments, quint16 port);
    QString output();

private:
    QProcess m_process;
};

// A proxy program of one kind (0 HTTP: tinyproxy with basic authentication, 1 SOCKS5:
// microsocks with user name and password, 2 SOCKS4: danted without authentication), listening
// on 127.0.0.1:port and relaying from `sourceAddress`, so that a server can tell that a
// connection really came through it. User "user", password "secret".
struct TestProxy {
    int proxyType;
    const char* program;
    const char* sourceAddress;
};
// Starts it in `proxy` with its configuration in `dir`; false (with the reason in `error`) when
// it could not start. Empty `error` and false: the program is not installed.
bool StartTestProxy(const TestProxy& kind, quint16 port, const QTemporaryDir& dir, ChildProcess& proxy,
                    QString* error);

// A self-signed certificate for 127.0.0.1 made with the openssl program. False when it is absent.
bool MakeTestCertificate(const QString& folder, QString* certFile, QString* keyFile);

}  // namespace velmora::hall::test
