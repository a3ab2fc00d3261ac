#include "server/web/webservice.h"

#include <QDateTime>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QRegularExpression>

namespace velmora::server {
namespace {

QByteArray methodName(QHttpServerRequest::Method method) {
    switch (method) {
    case QHttpServerRequest::Method::Get:
        return "GET";
    case QHttpServerRequest::Method::Post:
        return "POST";
    case QHttpServerRequest::Method::Head:
        return "HEAD";
    case QHttpServerRequest::Method::Put:
        return "PUT";
    case QHttpServerRequest::Method::Delete:
        return "DELETE";
    default:
        return "OTHER";
    }
}

QByteArray xmlEscape(const QByteArray& text) {
    QByteArray out = text;
    out.replace('&', "&amp;").replace('<', "&lt;").replace('>', "&gt;");
    return out;
}

}  // namespace

WebService::WebService(WebServiceConfig config, QObject* parent)
    : QObject(parent), m_config(std::move(config)) {
    buildRoutes();
}

WebService::~WebService() = default;

const QList<QPair<QString, QString>>& WebService::urlKeys() {
    static const QList<QPair<QString, QString>> kKeys = {
        {"loginurl", "/user/login.php"},         {"registerurl", "/user/register.php"},
        {"forgeturl", "/user/forget.php"},       {"editurl", "/user/edit.php"},
        {"passwordurl", "/user/password.php"},   {"checkuserurl", "/user/checkuser.php"},
        {"homeurl", "/index.php"},               {"roomxmlurl", "/game/roomlist.php"},
        {"gamexmlurl", "/game/gamelist.php"},    {"userfaceurl", "/user/face.php"},
        {"desktopurl", "/desktop/"},             {"userinfourl", "/user/userinfo.php"},
        {"exiturl", "/user/exit.php"},           {"speakurl", "/chat/speak.php"},
        {"getspeakurl", "/chat/getspeak.php"},   {"updatexml", "/update/update.xml"},
        {"userlevelimage", "/images/level.png"}, {"loginadurl", "/ad/login.php"},
        {"onlinecount", "/info/online.php"},     {"savesettingurl", "/user/savesetting.php"},
        {"friendurl", "/user/friend.php"},
    };
    return kKeys;
}

void WebService::addRoute(const QString& path, QList<QByteArray> methods, Handler handler) {
    m_routes.insert(path, Route{std::move(methods), std::move(handler)});
}

void WebService::buildRoutes() {
    const QList<QByteArray> get{"GET", "HEAD"};
    const QList<QByteArray> post{"POST"};
    const QList<QByteArray> any{"GET", "HEAD", "POST"};
    auto bind = [this](WebReply (WebService::*member)(const WebRequest&)) {
        return [this, member](const WebRequest& r) { return (this->*member)(r); };
    };
    addRoute("/info/getsession.php", any, bind(&WebService::getSession));
    addRoute("/info/online.php", any, bind(&WebService::onlineCount));
    addRoute("/user/exit.php", any, bind(&WebService::exitNotice));
    addRoute("/user/login.php", post, bind(&WebService::login));
    addRoute("/user/userinfo.php", post, bind(&WebService::userInfo));
    addRoute("/user/savesetting.php", post, bind(&WebService::saveSetting));
    addRoute("/logdrop.php", any, bind(&WebService::logDrop));
    addRoute("/index.php", get, bind(&WebService::homePage));
    addRoute("/user/face.php", get, bind(&WebService::facePage));
    addRoute("/user/edit.php", any, bind(&WebService::editPage));
    addRoute("/ad/login.php", get, bind(&WebService::loginAdPage));
    addRoute("/game/gamelist.php", any, bind(&WebService::gameList));
    addRoute("/game/roomlist.php", any, bind(&WebService::roomList));
    addRoute("/game/help.php", get, bind(&WebService::helpPage));
    addRoute("/user/checkuser.php", post, bind(&WebService::checkUser));
    addRoute("/user/register.php", post, bind(&WebService::registerUser));
    addRoute("/user/forget.php", post, bind(&WebService::forgetPassword));
    // Shouts, friends, the password page and the update list are answered by later parts of
    // the service; until then their addresses exist and say so.
    for (const char* path : {"/user/password.php", "/chat/speak.php", "/chat/getspeak.php",
                             "/user/friend.php", "/update/update.xml"})
        addRoute(QString::fromLatin1(path), any, bind(&WebService::notOffered));
}

bool WebService::start(QString* error) {
    auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (m_config.dataFolder.isEmpty())
        return fail(QStringLiteral("no data folder"));
    m_database = std::make_unique<WebDatabase>(WebDatabase::defaultFile(m_config.dataFolder));
    if (!m_database->isOpen())
        return fail(QStringLiteral("cannot open %1: %2")
                        .arg(m_database->filePath(), m_database->errorText()));
    m_sessions = std::make_unique<SessionStore>(*m_database, m_config.sessionIdle);
    m_users = std::make_unique<UserStore>(*m_database);
    m_games = std::make_unique<GameStore>(*m_database);
    m_recovery = std::make_unique<RecoveryStore>(*m_database);
    m_loginThrottle = std::make_unique<FailureThrottle>(*m_database, QStringLiteral("login"),
                                                        FailureThrottle::Limits{10, 50, 15 * 60});
    if (m_config.demo) {
        m_users->seedDemo(m_config.pbkdf2Iterations);
        QList<qint64> players;
        for (const char* name : {"alice", "bob", "carol", "dave"})
            if (const auto user = m_users->findByName(QString::fromLatin1(name)))
                players.append(user->id);
        m_games->seedDemo(players);
    }

    m_http = std::make_unique<QHttpServer>();
    m_http->setMissingHandler([this](const QHttpServerRequest& request,
                                     QHttpServerResponder&& responder) {
        WebReply reply;
        if (request.body().size() > m_config.maxBodyBytes) {
            reply = WebReply::error(413, "request body too large");
        } else {
            WebRequest parsed;
            parsed.method = methodName(request.method());
            parsed.path = request.url().path();
            parsed.query = ParseForm(request.url().query(QUrl::FullyEncoded).toUtf8());
            if (parsed.method == "POST")
                parsed.form = ParseForm(request.body());
            parsed.host = request.value("host");
            parsed.remote = request.remoteAddress();
            reply = handle(parsed);
        }
        responder.write(reply.body, reply.mime,
                        static_cast<QHttpServerResponder::StatusCode>(reply.status));
    });
    m_port = m_http->listen(m_config.host, m_config.port);
    if (m_port == 0)
        return fail(QStringLiteral("cannot listen on %1:%2")
                        .arg(m_config.host.toString())
                        .arg(m_config.port));
    return true;
}

QString WebService::baseUrl() const {
    QString host = m_config.host.toString();
    if (m_config.host == QHostAddress::Any || m_config.host == QHostAddress::AnyIPv4 ||
        m_config.host == QHostAddress::AnyIPv6)
        host = QStringLiteral("127.0.0.1");
    else if (m_config.host.protocol() == QAbstractSocket::IPv6Protocol)
        host = QLatin1Char('[') + host + QLatin1Char(']');
    return QStringLiteral("http://%1:%2").arg(host).arg(m_port ? m_port : m_config.port);
}

QString WebService::baseFor(const WebRequest& request) const {
    if (!m_config.publicBase.isEmpty())
        return m_config.publicBase;
    const bool anyAddress = m_config.host == QHostAddress::Any ||
                            m_config.host == QHostAddress::AnyIPv4 ||
                            m_config.host == QHostAddress::AnyIPv6;
    static const QRegularExpression kHost(QStringLiteral("^[A-Za-z0-9.\\-]{1,253}(:[0-9]{1,5})?$"));
    if (anyAddress && kHost.match(QString::fromLatin1(request.host)).hasMatch())
        return QStringLiteral("http://") + QString::fromLatin1(request.host);
    return baseUrl();
}

WebReply WebService::handle(const WebRequest& request) {
    if (!m_database)
        return WebReply::error(503, "service not started");
    const auto it = m_routes.constFind(request.path);
    if (it == m_routes.cend())
        return WebReply::error(404, "no such address");
    if (!it->methods.contains(request.method))
        return WebReply::error(405, "method not allowed");
    return it->handler(request);
}

WebReply WebService::notOffered(const WebRequest&) {
    return WebReply::error(501, "not offered by this service yet");
}

WebReply WebService::getSession(const WebRequest& request) {
    const std::optional<SessionInfo> session = m_sessions->create();
    if (!session)
        return WebReply::error(500, "cannot create a session");
    const QString base = baseFor(request);
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<session>\n";
    auto add = [&xml](const char* key, const QByteArray& value) {
        xml += "<" + QByteArray(key) + ">" + xmlEscape(value) + "</" + QByteArray(key) + ">\n";
    };
    add("token", session->token.toLatin1());
    add("encodekey", session->encodeKey.toLatin1());
    for (const auto& [key, path] : urlKeys())
        add(key.toLatin1().constData(), EncodeBase64Gbk(base + path));
    add("version", EncodeBase64Gbk(m_config.version));
    add("clientversion", EncodeBase64Gbk(m_config.clientVersion));
    add("newdesc", EncodeBase64Gbk(m_config.newDesc));
    add("servertime", EncodeBase64Gbk(QDateTime::currentDateTimeUtc().toString(Qt::ISODate)));
    xml += "</session>\n";
    return WebReply::xml(xml);
}

}  // namespace velmora::server
