#pragma once
// A request of the hall as the service's handlers see it, and their reply. Kept apart from the
// HTTP server so that handlers can be called directly.

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QString>
#include <optional>

namespace velmora::server {

struct WebRequest {
    QByteArray method;  // "GET", "POST", ...
    QString path;
    QHash<QString, QByteArray> query;  // names lower-cased, values percent-decoded
    QHash<QString, QByteArray> form;   // the same for an application/x-www-form-urlencoded body
    QByteArray host;                   // the Host header
    QHostAddress remote;

    // A value of the form body, else of the query; nothing when missing.
    std::optional<QByteArray> field(const QString& name) const;
    QString text(const QString& name) const;  // UTF-8, empty when missing
};

struct WebReply {
    int status = 200;
    QByteArray mime = "text/plain; charset=utf-8";
    QByteArray body;

    static WebReply text(const QByteArray& body, int status = 200);
    static WebReply html(const QString& page);
    static WebReply xml(const QByteArray& document);
    // A clear error: the status and a one-line reason.
    static WebReply error(int status, const QByteArray& reason);
};

// Pieces "name=value" split at "&"; names lower-cased; "%XX" decoded. A "+" is kept as it is:
// the hall encodes every blank and plus sign as "%XX", and Base64 values carry "+" signs.
// The first piece of a name counts.
QHash<QString, QByteArray> ParseForm(const QByteArray& text);

// Strict Base64 (line breaks and blanks ignored) of GBK bytes; nothing when not valid Base64.
std::optional<QString> DecodeBase64Gbk(const QByteArray& value);
// Base64 of the value's GBK bytes, without line breaks.
QByteArray EncodeBase64Gbk(const QString& value);

// A decimal number within [min, max]; nothing otherwise.
std::optional<qint64> ParseDecimal(const QByteArray& value, qint64 min, qint64 max);

}  // namespace velmora::server
