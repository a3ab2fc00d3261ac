#pragma once
// The stand-in for the operator's web service: every request of the hall, answered in the forms
// the hall reads. Routes are a table of path -> (methods, handler); the handlers take a parsed
// WebRequest and return a WebReply, so tests may call handle() without sockets. The object,
// its HTTP server and its database connection belong to the thread that created it.

#include "server/web/gamestore.h"
#include "server/web/failurethrottle.h"
#include "server/web/recoverystore.h"
#include "server/web/sessionstore.h"
#include "server/web/userstore.h"
#include "server/web/webdatabase.h"
#include "server/web/webrequest.h"

#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QHttpServer;

namespace velmora::server {

struct WebServiceConfig {
    QString dataFolder;  // holds web.sqlite
    QHostAddress host = QHostAddress::LocalHost;
    quint16 port = 18080;  // 0: any free port
    // Base of every address handed out ("http://host:port"); empty: the listen address, or the
    // request's Host header when listening on every interface.
    QString publicBase;
    QString version = QStringLiteral("1.3.64.51");        // compared with the hall's UpdateTime
    QString clientVersion = QStringLiteral("1.3.64.51");  // compared with its ProgramVersion
    QString newDesc = QStringLiteral("新版本");
    std::chrono::seconds sessionIdle = kDefaultSessionIdle;
    int pbkdf2Iterations = kDefaultPbkdf2Iterations;
    bool demo = false;  // seed the demo players and the demo game tree into a new database
    qint64 newPlayerGold = 1000;  // coins of a newly registered player
    qsizetype maxBodyBytes = 64 * 1024;
};

class WebService : public QObject {
    Q_OBJECT
public:
    explicit WebService(WebServiceConfig config, QObject* parent = nullptr);
    ~WebService() override;

    // Opens the database (seeding the demo players when asked) and listens. False with a reason.
    bool start(QString* error = nullptr);
    quint16 port() const { return m_port; }
    // "http://127.0.0.1:18080" for the running service.
    QString baseUrl() const;

    WebReply handle(const WebRequest& request);

    SessionStore& sessions() { return *m_sessions; }
    UserStore& users() { return *m_users; }
    GameStore& games() { return *m_games; }
    RecoveryStore& recovery() { return *m_recovery; }
    // Failed logins: 10 per account or 50 per address within 15 minutes refuse further logins
    // (answered as a wrong password, without checking it) until they age out.
    FailureThrottle& loginThrottle() { return *m_loginThrottle; }
    const WebServiceConfig& config() const { return m_config; }

    // Path of each address key of the session reply.
    static const QList<QPair<QString, QString>>& urlKeys();

private:
    using Handler = std::function<WebReply(const WebRequest&)>;
    struct Route {
        QList<QByteArray> methods;
        Handler handler;
    };
    void addRoute(const QString& path, QList<QByteArray> methods, Handler handler);
    void buildRoutes();
    QString baseFor(const WebRequest& request) const;

    // Handlers (sessionhandlers.cpp, userhandlers.cpp, webpages.cpp).
    WebReply getSession(const WebRequest& request);
    WebReply onlineCount(const WebRequest& request);
    WebReply exitNotice(const WebRequest& request);
    WebReply login(const WebRequest& request);
    WebReply userInfo(const WebRequest& request);
    WebReply saveSetting(const WebRequest& request);
    WebReply logDrop(const WebRequest& request);
    WebReply homePage(const WebRequest& request);
    WebReply facePage(const WebRequest& request);
    WebReply editPage(const WebRequest& request);
    WebReply loginAdPage(const WebRequest& request);
    WebReply notOffered(const WebRequest& request);
    // gamehandlers.cpp
    WebReply gameList(const WebRequest& request);
    WebReply roomList(const WebRequest& request);
    WebReply helpPage(const WebRequest& request);
    // accounthandlers.cpp
    WebReply checkUser(const WebRequest& request);
    WebReply registerUser(const WebRequest& request);
    WebReply forgetPassword(const WebRequest& request);

    WebServiceConfig m_config;
    std::unique_ptr<WebDatabase> m_database;
    std::unique_ptr<SessionStore> m_sessions;
    std::unique_ptr<UserStore> m_users;
    std::unique_ptr<GameStore> m_games;
    std::unique_ptr<RecoveryStore> m_recovery;
    std::unique_ptr<FailureThrottle> m_loginThrottle;
    std::unique_ptr<QHttpServer> m_http;
    QHash<QString, Route> m_routes;
    quint16 m_port = 0;
};

}  // namespace velmora::server
