#pragma once
// One HTTP transfer on libcurl, run on a worker thread while the calling thread keeps its event
// loop turning (the anti-freeze): the call blocks its caller like a plain function, yet timers,
// sockets and clicks of the caller's thread are served meanwhile. Without a QCoreApplication
// (benchmarks, plain threads) the call simply waits for the worker.

#include "hall/foundation/hallcontext.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

namespace velmora::hall {

struct TransferSpec {
    QString url;
    bool post = false;
    QByteArray postBody;  // sent as application/x-www-form-urlencoded
    QList<QByteArray> extraHeaders;
    int timeoutMs = 60000;  // connect time-out and read (no data) time-out
    NetSetting proxy;
    QString trustedCaFile;
    QString programVersion;
    // Receives the body in pieces on the worker thread; returning false aborts the transfer.
    // When unset the body is collected in TransferResult::body (up to kMaxReplyBytes).
    std::function<bool(const char*, size_t)> sink;
};

struct TransferResult {
    bool transportOk = false;  // the exchange completed (any status)
    long status = 0;
    QByteArray body;
    QByteArray contentType;
    QString error;  // what went wrong, for logs

    bool succeeded() const { return transportOk && status >= 200 && status < 300; }
};

// Largest reply body kept in memory; a longer reply is a failure.
inline constexpr qsizetype kMaxReplyBytes = 32 * 1024 * 1024;

// The User-Agent value: it begins with the words "User-Agent: " itself and is sent so.
QByteArray UserAgentValue(const QString& programVersion);

TransferResult RunTransfer(const TransferSpec& job);

}  // namespace velmora::hall
