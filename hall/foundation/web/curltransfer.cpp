#include "hall/foundation/web/curltransfer.h"

#include <curl/curl.h>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

namespace velmora::hall {
namespace {

void initCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct SinkState {
    const TransferSpec* job = nullptr;
    TransferResult* result = nullptr;
    bool tooLarge = false;
};

size_t writeBody(char* data, size_t size, size_t count, void* user) {
    auto* state = static_cast<SinkState*>(user);
    const size_t bytes = size * count;
    if (state->job->sink)
        return state->job->sink(data, bytes) ? bytes : 0;
    if (state->result->body.size() + qsizetype(bytes) > kMaxReplyBytes) {
        state->tooLarge = true;
        return 0;
    }
    state->result->body.append(data, qsizetype(bytes));
    return bytes;
}

void applyProxy(CURL* curl, const NetSetting& net) {
    // An explicit empty proxy also keeps libcurl from honouring proxy environment variables:
    // the hall connects directly unless its own settings say otherwise.
    if (!net.ProxyOn || net.ProxyType < 0 || net.ProxyType > 2) {
        curl_easy_setopt(curl, CURLOPT_PROXY, "");
        return;
    }
    bool portOk = false;
    int port = net.port.trimmed().toInt(&portOk);
    if (!portOk || port < 0 || port > 65535)
        port = 0;
    const QByteArray host = net.server.trimmed().toUtf8();
    curl_easy_setopt(curl, CURLOPT_PROXY, host.constData());
    curl_easy_setopt(curl, CURLOPT_PROXYPORT, long(port));
    static constexpr long kTypes[] = {CURLPROXY_HTTP, CURLPROXY_SOCKS5, CURLPROXY_SOCKS4};
    curl_easy_setopt(curl, CURLOPT_PROXYTYPE, kTypes[net.ProxyType]);
    if (!net.username.isEmpty()) {
        const QByteArray user = net.username.toUtf8();
        const QByteArray pass = net.pass.toUtf8();
        curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, user.constData());
        curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, pass.constData());
        if (net.ProxyType == 0)
            curl_easy_setopt(curl, CURLOPT_PROXYAUTH, long(CURLAUTH_BASIC));
    }
}

TransferResult perform(const TransferSpec& job) {
    TransferResult result;
    initCurlOnce();
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl) {
        result.error = QStringLiteral("cannot create a transfer");
        return result;
    }
    CURL* c = curl.get();
    char errorText[CURL_ERROR_SIZE] = {};
    SinkState state{&job, &result};

    const QByteArray url = job.url.toUtf8();
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(c, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &writeBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &state);

    const long timeoutMs = job.timeoutMs > 0 ? job.timeoutMs : 60000;
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, timeoutMs);
    // The read time-out: a transfer that receives nothing for that long is given up.
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, std::max(1L, (timeoutMs + 999) / 1000));

    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
    const QByteArray caFile = job.trustedCaFile.toLocal8Bit();
    if (!caFile.isEmpty()) {
        curl_easy_setopt(c, CURLOPT_CAINFO, caFile.constData());
        curl_easy_setopt(c, CURLOPT_CAPATH, "/etc/ssl/certs");
    }

    const QByteArray agent = UserAgentValue(job.programVersion);
    curl_easy_setopt(c, CURLOPT_USERAGENT, agent.constData());
    curl_slist* headers = nullptr;
    headers = curl_slist_append(headers, "Accept: */*");
    headers = curl_slist_append(headers, "Pragma: no-cache");
    headers = curl_slist_append(headers, "Cache-Control: no-cache");
    headers = curl_slist_append(headers, "Expect:");
    for (const QByteArray& h : job.extraHeaders)
        headers = curl_slist_append(headers, h.constData());
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headerList(headers,
                                                                            &curl_slist_free_all);
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers);

    applyProxy(c, job.proxy);

    if (job.post) {
        curl_easy_setopt(c, CURLOPT_POST, 1L);
        curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(job.postBody.size()));
        curl_easy_setopt(c, CURLOPT_COPYPOSTFIELDS, job.postBody.constData());
    } else {
        curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
    }

    const CURLcode code = curl_easy_perform(c);
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &result.status);
    char* type = nullptr;
    if (curl_easy_getinfo(c, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type)
        result.contentType = QByteArray(type);
    if (code == CURLE_OK) {
        result.transportOk = true;
    } else {
        result.error = state.tooLarge ? QStringLiteral("reply too large")
                                      : QString::fromUtf8(errorText[0] ? errorText
                                                                       : curl_easy_strerror(code));
        result.body.clear();
    }
    return result;
}

}  // namespace

QByteArray UserAgentValue(const QString& programVersion) {
    return "User-Agent: Mozilla/4.0 (compatib MORVANE; " + programVersion.toUtf8() + ")";
}

TransferResult RunTransfer(const TransferSpec& job) {
    TransferResult result;
    const bool spin = QCoreApplication::instance() != nullptr &&
                      QAbstractEventDispatcher::instance(QThread::currentThread()) != nullptr;
    if (!spin)
        return perform(job);

    QEventLoop loop;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        result = perform(job);
        done.store(true);
        // Queued: delivered by the loop below even when it has not started yet.
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    // Handlers run inside this loop may issue requests of their own; each has its own loop and
    // worker, and this call returns only after they have returned. When the loop ends early (the
    // application is quitting) the call waits for the worker without serving events.
    if (!done.load())
        loop.exec(QEventLoop::AllEvents);
    worker.join();
    return result;
}

}  // namespace velmora::hall
