// Session bootstraps, logins and keep-alives per second: the hall's HttpRequest against the
// stand-in web service on loopback, the service on its own thread with the default password
// hashing (PBKDF2-HMAC-SHA256, 100 000 iterations).
#include "hall/foundation/publicfunc.h"
#include "hall/foundation/web/httprequest.h"
#include "server/web/webservice.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QThread>

namespace {

using namespace velmora;

struct Stand {
    QTemporaryDir dir;
    QThread thread;
    QObject* anchor = nullptr;
    server::WebService* service = nullptr;
    QString base;

    Stand() {
        thread.start();
        anchor = new QObject;
        anchor->moveToThread(&thread);
        QMetaObject::invokeMethod(anchor, [this] {
            server::WebServiceConfig config;
            config.dataFolder = dir.path();
            config.port = 0;
            config.demo = true;
            service = new server::WebService(config);
            if (service->start())
                base = service->baseUrl();
        }, Qt::BlockingQueuedConnection);
    }
    ~Stand() {
        QMetaObject::invokeMethod(anchor, [this] {
            delete service;
            delete anchor;
        }, Qt::BlockingQueuedConnection);
        thread.quit();
        thread.wait();
    }
};

Stand* g_stand = nullptr;  // ended in main() while the application object still exists

Stand& stand() {
    if (!g_stand)
        g_stand = new Stand;
    return *g_stand;
}

QString newToken() {
    const QString xml = hall::HttpRequest(stand().base + QStringLiteral("/info/getsession.php"),
                                          QStringLiteral("GET"));
    const qsizetype from = xml.indexOf(QStringLiteral("<token>")) + 7;
    return xml.mid(from, xml.indexOf(QStringLiteral("</token>")) - from);
}

void BM_SessionBootstrap(benchmark::State& state) {
    if (stand().base.isEmpty())
        return state.SkipWithError("service did not start");
    for (auto _ : state) {
        if (newToken().isEmpty())
            return state.SkipWithError("no session");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SessionBootstrap)->UseRealTime()->MinTime(2.0);

void BM_Login(benchmark::State& state) {
    if (stand().base.isEmpty())
        return state.SkipWithError("service did not start");
    const QString token = newToken();
    const QString form = QStringLiteral("username=") +
                         hall::UrlEncodeText(hall::Base64EncodeText(QStringLiteral("alice"))) +
                         QStringLiteral("&password=") + hall::Md5Hex(QStringLiteral("velmora")) +
                         QStringLiteral("&token=") + token + QStringLiteral("&logintype=username");
    for (auto _ : state) {
        const QString reply = hall::HttpRequest(stand().base + QStringLiteral("/user/login.php"),
                                                QStringLiteral("POST"), form);
        if (!reply.contains(QStringLiteral("<errid>200</errid>")))
            return state.SkipWithError("login failed");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Login)->UseRealTime()->MinTime(2.0);

void BM_OnlineCount(benchmark::State& state) {
    if (stand().base.isEmpty())
        return state.SkipWithError("service did not start");
    const QString url = stand().base + QStringLiteral("/info/online.php?token=") + newToken();
    for (auto _ : state) {
        if (hall::HttpRequest(url, QStringLiteral("GET")).isEmpty())
            return state.SkipWithError("no reply");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_OnlineCount)->UseRealTime()->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete g_stand;
    return 0;
}
