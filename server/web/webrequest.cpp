#include "server/web/webrequest.h"

#include "platform/codepage/codepage.h"

namespace velmora::server {

std::optional<QByteArray> WebRequest::field(const QString& name) const {
    auto it = form.constFind(name);
    if (it != form.cend())
        return *it;
    it = query.constFind(name);
    if (it != query.cend())
        return *it;
    return std::nullopt;
}

QString WebRequest::text(const QString& name) const {
    return QString::fromUtf8(field(name).value_or(QByteArray()));
}

WebReply WebReply::text(const QByteArray& body, int status) {
    return WebReply{status, "text/plain; charset=utf-8", body};
}

WebReply WebReply::html(const QString& page) {
    return WebReply{200, "text/html; charset=utf-8", page.toUtf8()};
}

WebReply WebReply::xml(const QByteArray& document) {
    return WebReply{200, "text/xml; charset=utf-8", document};
}

WebReply WebReply::error(int status, const QByteArray& reason) {
    return WebReply{status, "text/plain; charset=utf-8", reason + "\n"};
}

QHash<QString, QByteArray> ParseForm(const QByteArray& text) {
    QHash<QString, QByteArray> fields;
    for (const QByteArray& piece : text.split('&')) {
        if (piece.isEmpty())
            continue;
        const qsizetype eq = piece.indexOf('=');
        const QByteArray name = eq < 0 ? piece : piece.left(eq);
        const QByteArray value = eq < 0 ? QByteArray() : piece.mid(eq + 1);
        const QString key = QString::fromUtf8(QByteArray::fromPercentEncoding(name)).trimmed().toLower();
        if (!key.isEmpty() && !fields.contains(key))
            fields.insert(key, QByteArray::fromPercentEncoding(value));
    }
    return fields;
}

std::optional<QString> DecodeBase64Gbk(const QByteArray& value) {
    QByteArray compact;
    compact.reserve(value.size());
    for (char c : value) {
        if (c != '\r' && c != '\n' && c != ' ' && c != '\t')
            compact.append(c);
    }
    if (compact.isEmpty())
        return QString();
    const auto decoded =
        QByteArray::fromBase64Encoding(compact, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    return platform::fromGbk(*decoded);
}

QByteArray EncodeBase64Gbk(const QString& value) { return platform::toGbk(value).toBase64(); }

std::optional<qint64> ParseDecimal(const QByteArray& value, qint64 min, qint64 max) {
    const QByteArray trimmed = value.trimmed();
    if (trimmed.isEmpty() || trimmed.size() > 19)
        return std::nullopt;
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        const char c = trimmed[i];
        if (!(c >= '0' && c <= '9') && !(i == 0 && c == '-' && trimmed.size() > 1))
            return std::nullopt;
    }
    bool ok = false;
    const qint64 number = trimmed.toLongLong(&ok);
    if (!ok || number < min || number > max)
        return std::nullopt;
    return number;
}

}  // namespace velmora::server
