#include "wirecommand.h"

#include <functional>
#include <map>

#include "hall/foundation/publicfunc.h"
#include "hall/foundation/roompacket.h"

namespace velmora::tools {
namespace {

using namespace velmora::hall;

WireResult fail(const QString& message) { return {1, {}, message}; }
WireResult line(const QString& text) { return {0, text.toUtf8() + '\n', {}}; }

bool isHexText(const QString& text) {
    if (text.size() % 2 != 0) return false;
    for (QChar c : text)
        if (!isxdigit(c.unicode() < 0x80 ? c.unicode() : 'x')) return false;
    return true;
}

std::optional<qint32> toInt32(const QString& s) {
    bool ok = false;
    const qint32 v = s.toInt(&ok);
    return ok ? std::optional<qint32>(v) : std::nullopt;
}

using Handler = std::function<WireResult(const QStringList&, const QByteArray&)>;
struct Command {
    int minArgs;
    int maxArgs;
    const char* usage;
    Handler run;
};

WireResult hexencode(const QStringList& a, const QByteArray& input) {
    const bool packed = a.contains(QStringLiteral("--packed"));
    return line(HexEncodeBytes(input, packed));
}

WireResult hexdecode(const QStringList& a, const QByteArray&) {
    const bool packed = a.first() == QStringLiteral("--packed");
    const QString hex = a.last().trimmed();
    if ((packed && a.size() != 2) || (!packed && a.size() != 1)) return fail(QStringLiteral("usage: velmora-wire hexdecode [--packed] HEX"));
    if (!isHexText(hex)) return fail(QStringLiteral("not hexadecimal text of even length"));
    if (!packed) return {0, HexDecodeText(hex, false), {}};
    const auto inner = TryUnpackBytes(HexDecodeText(hex, false));
    if (!inner) return fail(QStringLiteral("packed stream is damaged or its length is wrong"));
    const QString innerHex = QString::fromLatin1(*inner);
    if (!isHexText(innerHex)) return fail(QStringLiteral("packed stream does not hold hexadecimal text"));
    return {0, HexDecodeText(innerHex, false), {}};
}

WireResult request(const QStringList& a, const QByteArray&) {
    QStringList rest = a;
    QString key = QString::fromLatin1(kDefaultWireKey);
    const qsizetype k = rest.indexOf(QStringLiteral("--key"));
    if (k >= 0) {
        if (k + 1 >= rest.size() || rest.at(k + 1).isEmpty()) return fail(QStringLiteral("--key needs a key"));
        key = rest.at(k + 1);
        rest.remove(k, 2);
    }
    if (rest.size() != 4) return fail(QStringLiteral("usage: velmora-wire request [--key KEY] FSOCKET SEQ COMMAND BODY"));
    const auto fsocket = toInt32(rest[0]);
    const auto seq = toInt32(rest[1]);
    const auto command = toInt32(rest[2]);
    if (!fsocket || !seq || !command) return fail(QStringLiteral("FSOCKET, SEQ and COMMAND must be integers"));
    return line(BuildRequestLine(*fsocket, *seq, *command, rest[3], key));
}

const std::map<QString, Command>& commands() {
    static const std::map<QString, Command> table = {
        {QStringLiteral("scramble"), {2, 2, "scramble KEY TEXT", [](const QStringList& a, const QByteArray&) {
             if (a[0].isEmpty()) return fail(QStringLiteral("the key must not be empty"));
             return line(ScrambleText(a[1], a[0]));
         }}},
        {QStringLiteral("unscramble"), {2, 2, "unscramble KEY WIRE", [](const QStringList& a, const QByteArray&) {
             if (a[0].isEmpty()) return fail(QStringLiteral("the key must not be empty"));
             return line(UnscrambleText(a[1], a[0]));
         }}},
        {QStringLiteral("parse"), {1, 1, "parse LINE", [](const QStringList& a, const QByteArray&) {
             const auto p = TryParseRoomPacket(a[0]);
             if (!p) return fail(QStringLiteral("malformed room packet"));
             return line(QStringLiteral("datatype=%1 fsocket=%2 seq=%3 command=%4 data=%5")
                             .arg(p->datatype).arg(p->fsocket).arg(p->seq).arg(p->command).arg(p->data));
         }}},
        {QStringLiteral("body"), {2, 2, "body BODY NAME", [](const QStringList& a, const QByteArray&) {
             return line(BodyValue(a[0], a[1]));
         }}},
        {QStringLiteral("urlencode"), {1, 1, "urlencode TEXT", [](const QStringList& a, const QByteArray&) {
             return line(UrlEncodeText(a[0]));
         }}},
        {QStringLiteral("urldecode"), {1, 1, "urldecode TEXT", [](const QStringList& a, const QByteArray&) {
             return line(UrlDecodeText(a[0]));
         }}},
        {QStringLiteral("base64encode"), {1, 1, "base64encode TEXT", [](const QStringList& a, const QByteArray&) {
             return line(Base64EncodeText(a[0]));
         }}},
        {QStringLiteral("base64decode"), {1, 1, "base64decode TEXT", [](const QStringList& a, const QByteArray&) {
             const auto text = TryBase64DecodeText(a[0]);
             if (!text) return fail(QStringLiteral("not Base64"));
             return line(*text);
         }}},
        {QStringLiteral("md5"), {1, 1, "md5 TEXT", [](const QStringList& a, const QByteArray&) {
             return line(Md5Hex(a[0]));
         }}},
        {QStringLiteral("hexencode"), {0, 1, "hexencode [--packed] < BYTES", [](const QStringList& a, const QByteArray& in) {
             if (!a.isEmpty() && a[0] != QStringLiteral("--packed"))
                 return fail(QStringLiteral("usage: velmora-wire hexencode [--packed]"));
             return hexencode(a, in);
         }}},
        {QStringLiteral("hexdecode"), {1, 2, "hexdecode [--packed] HEX", hexdecode}},
        {QStringLiteral("login-line"), {3, 3, "login-line K TOKEN USERID", [](const QStringList& a, const QByteArray&) {
             bool okK = false;
             bool okId = false;
             const int k = a[0].toInt(&okK);
             const qint64 id = a[2].toLongLong(&okId);
             if (!okK || k < 0 || k > 9 || a[0].size() != 1) return fail(QStringLiteral("K must be a digit 0 to 9"));
             if (!okId || id < 0) return fail(QStringLiteral("USERID must be a non-negative integer"));
             if (a[1].isEmpty()) return fail(QStringLiteral("TOKEN must not be empty"));
             return line(BuildLoginLine(k, a[1], id));
         }}},
        {QStringLiteral("request"), {4, 6, "request [--key KEY] FSOCKET SEQ COMMAND BODY", request}},
    };
    return table;
}

QString usage() {
    QStringList forms;
    for (const auto& [name, command] : commands()) forms << QString::fromLatin1(command.usage);
    return QStringLiteral("usage: velmora-wire ") + forms.join(QStringLiteral(" | "));
}

}  // namespace

WireResult RunWireCommand(const QStringList& args, const QByteArray& input) {
    if (args.isEmpty()) return fail(usage());
    const auto it = commands().find(args.first());
    if (it == commands().end()) return fail(QStringLiteral("unknown command: ") + args.first());
    const QStringList rest = args.mid(1);
    const Command& command = it->second;
    if (rest.size() < command.minArgs || rest.size() > command.maxArgs)
        return fail(QStringLiteral("usage: velmora-wire ") + QString::fromLatin1(command.usage));
    return command.run(rest, input);
}

}  // namespace velmora::tools
