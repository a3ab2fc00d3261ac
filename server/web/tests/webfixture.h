#pragma once
// The web service under test: a fresh database in a temporary folder with the demo data, a
// controlled clock, and handle() called directly.
#include "hall/foundation/hallcontext.h"
#include "hall/foundation/publicfunc.h"
#include "hall/foundation/web/session.h"
#include "server/web/webservice.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QTemporaryDir>
#include <QXmlStreamReader>

namespace velmora::server {

inline QHash<QString, QString> xmlFields(const QByteArray& xml) {
    QHash<QString, QString> fields;
    QXmlStreamReader reader(xml);
    reader.readNextStartElement();
    while (reader.readNextStartElement())
        fields.insert(reader.name().toString(), reader.readElementText());
    return fields;
}

inline QString decoded(const QString& base64) { return hall::Base64DecodeText(base64); }

class WebServiceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "webservice_tests";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv);
    }
    void SetUp() override {
        WebServiceConfig config;
        config.dataFolder = m_dir.path();
        config.port = 0;
        config.demo = true;
        config.pbkdf2Iterations = 1000;
        config.sessionIdle = std::chrono::seconds(600);
        m_service = std::make_unique<WebService>(config);
        QString error;
        ASSERT_TRUE(m_service->start(&error)) << error.toStdString();
        m_service->sessions().setClock([this] { return m_now; });
        m_service->games().setClock([this] { return m_now; });
        m_service->recovery().setClock([this] { return m_now; });
    }

    WebReply call(const char* method, const QString& path, const QByteArray& form,
                  const QByteArray& query = QByteArray()) {
        WebRequest request;
        request.method = method;
        request.path = path;
        request.query = ParseForm(query);
        request.form = ParseForm(form);
        return m_service->handle(request);
    }
    QString newToken() {
        const WebReply reply = call("GET", QStringLiteral("/info/getsession.php"), {});
        return xmlFields(reply.body).value(QStringLiteral("token"));
    }
    // The hall's own session bootstrap against the running service, over HTTP, on the real
    // clock: afterwards HallContext holds the token and the service addresses.
    bool bootstrapHall() {
        hall::HallContext::reset();
        m_service->sessions().setClock([] { return QDateTime::currentSecsSinceEpoch(); });
        qputenv(hall::kBootstrapEnv, (m_service->baseUrl() + QStringLiteral("/info/getsession.php")).toUtf8());
        struct Host : hall::SessionHost {
            void showMessage(const QString& text) override { ADD_FAILURE() << text.toStdString(); }
            bool runNetSetting() override { return false; }
            void terminateApplication() override { ADD_FAILURE(); }
        } host;
        const bool ok = hall::GetSession(host);
        qunsetenv(hall::kBootstrapEnv);
        return ok;
    }
    static QByteArray loginForm(const QString& account, const QString& password,
                                const QString& token, const char* type) {
        return "username=" + hall::UrlEncodeText(hall::Base64EncodeText(account)).toLatin1() +
               "&password=" + hall::Md5Hex(password).toLatin1() + "&token=" + token.toLatin1() +
               "&logintype=" + type;
    }

    QTemporaryDir m_dir;
    qint64 m_now = 1'700'000'000;
    std::unique_ptr<WebService> m_service;
};

}  // namespace velmora::server
