#include "hall/foundation/web/httprequest.h"

#include "hall/foundation/hallcontext.h"
#include "hall/foundation/web/curltransfer.h"
#include "platform/codepage/codepage.h"
#include "platform/shell/shellpaths.h"

#include <QFile>
#include <QStringList>

namespace velmora::hall {
namespace {

TransferSpec baseSpec(const QString& url, int timeoutMs) {
    const HallContext& context = HallContext::instance();
    TransferSpec job;
    job.url = url;
    job.timeoutMs = timeoutMs;
    job.proxy = context.Net;
    job.trustedCaFile = context.TrustedCaFile;
    job.programVersion = context.ProgramVersion;
    return job;
}

}  // namespace

QByteArray PostBody(const QString& formData) {
    QStringList pieces;
    for (const QString& piece : formData.split(QLatin1Char('&'))) {
        const QString trimmed = piece.trimmed();
        if (!trimmed.isEmpty())
            pieces.append(trimmed);
    }
    return platform::toGbk(pieces.join(QLatin1Char('&')));
}

QString DecodeReply(const QByteArray& body, const QByteArray& contentType) {
    const QByteArray type = contentType.toLower();
    const qsizetype at = type.indexOf("charset=");
    if (at >= 0) {
        QByteArray charset = type.mid(at + 8).trimmed();
        const qsizetype end = charset.indexOf(';');
        if (end >= 0)
            charset.truncate(end);
        charset = charset.trimmed();
        if (charset.startsWith('"') && charset.endsWith('"') && charset.size() >= 2)
            charset = charset.mid(1, charset.size() - 2);
        if (charset == "utf-8" || charset == "utf8")
            return QString::fromUtf8(body);
        if (charset == "iso-8859-1" || charset == "latin1")
            return QString::fromLatin1(body);
    }
    return platform::fromGbk(body);
}

void HttpRequest(const QString& url, const QString& method, const QString& formData,
                 QString& reply, int retries, int attempt, int timeoutMs) {
    // Iterative form of "on failure, call again with attempt + 1".
    for (int current = attempt;; ++current) {
        TransferSpec job = baseSpec(url, timeoutMs);
        if (method.toLower() == QLatin1String("post")) {
            job.post = true;
            job.postBody = PostBody(formData);
        }
        const TransferResult result = RunTransfer(job);
        if (result.succeeded()) {
            reply = DecodeReply(result.body, result.contentType);
            return;
        }
        if (current >= retries) {
            reply.clear();
            return;
        }
    }
}

QString HttpRequest(const QString& url, const QString& method, const QString& formData,
                    int retries, int timeoutMs) {
    QString reply;
    HttpRequest(url, method, formData, reply, retries, 0, timeoutMs);
    return reply;
}

bool DownloadFile(const QString& url, const QString& filePath) {
    platform::ForceFileDirs(filePath);
    QFile file(filePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    TransferSpec job = baseSpec(url, kDefaultTimeoutMs);
    job.extraHeaders.append("Connection: close");
    bool writeFailed = false;
    // Runs on the worker thread; the file is not touched by the caller until the transfer ends.
    job.sink = [&file, &writeFailed](const char* data, size_t size) {
        if (file.write(data, qint64(size)) != qint64(size)) {
            writeFailed = true;
            return false;
        }
        return true;
    };
    const TransferResult result = RunTransfer(job);
    file.close();
    return result.succeeded() && !writeFailed && file.error() == QFileDevice::NoError;
}

}  // namespace velmora::hall
