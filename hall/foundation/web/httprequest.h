#pragma once
// The hall's web client: every request to the operator's web service goes through HttpRequest.
// A call blocks its caller but keeps the caller's event loop running (see curltransfer.h), so
// timers and clicks may run inside it; such handlers guard themselves with ReentryGuard.
// Proxy, program version and trusted certificates come from HallContext.

#include <QString>

namespace velmora::hall {

inline constexpr int kDefaultRetries = 3;
inline constexpr int kDefaultTimeoutMs = 60000;

// GET (any method other than "post", without regard to case) or POST of `formData`. The form
// data is split at "&", every piece trimmed of blanks, empty pieces dropped, and the pieces
// sent joined with "&" without further encoding. A 2xx answer gives its body in `reply`; any
// failure (connection, time-out, TLS, HTTP error status) is tried again while `attempt` <
// `retries`, so up to retries + 1 attempts; after that `reply` is empty. The empty reply is the
// only failure signal.
void HttpRequest(const QString& url, const QString& method, const QString& formData,
                 QString& reply, int retries = kDefaultRetries, int attempt = 0,
                 int timeoutMs = kDefaultTimeoutMs);
// The same, returning the reply.
QString HttpRequest(const QString& url, const QString& method, const QString& formData = QString(),
                    int retries = kDefaultRetries, int timeoutMs = kDefaultTimeoutMs);

// The POST body HttpRequest sends for `formData`.
QByteArray PostBody(const QString& formData);

// Reply bytes to text: the charset the server declares (UTF-8 or a GBK family name); without a
// declaration the bytes are read as GBK, the hall's code page (ASCII reads the same either way).
QString DecodeReply(const QByteArray& body, const QByteArray& contentType);

// GETs `url` into `filePath` (folders created, file truncated), one attempt, 60 s time-out.
// True when the whole body was stored; on failure a partly written file stays.
bool DownloadFile(const QString& url, const QString& filePath);

}  // namespace velmora::hall
