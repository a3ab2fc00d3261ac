#pragma once
// Builds game and room list replies as the web service writes them: every value Base64 of GBK.
#include <QString>
#include <initializer_list>
#include <utility>

#include "hall/foundation/publicfunc.h"

namespace velmora::hall::test {

using Fields = std::initializer_list<std::pair<const char*, QString>>;

inline QString element(const char* name, Fields fields) {
    QString xml = QStringLiteral("<%1>").arg(QLatin1String(name));
    for (const auto& [key, value] : fields)
        xml += QStringLiteral("<%1>%2</%1>").arg(QLatin1String(key), Base64EncodeText(value));
    return xml + QStringLiteral("</%1>").arg(QLatin1String(name));
}

inline QString category(int id, const QString& title, int pid, int expanded = 1, int showonline = 0,
                        int online = 0) {
    return element("frm", {{"id", QString::number(id)}, {"title", title}, {"pid", QString::number(pid)},
                           {"icon", QStringLiteral("1")}, {"onlinecount", QString::number(online)},
                           {"showonline", QString::number(showonline)}, {"expanded", QString::number(expanded)},
                           {"helptext", title + QStringLiteral(" help")}});
}

inline QString game(int id, const QString& title, int fid, const QString& type = QStringLiteral("game"),
                    int online = 0, const QString& helpurl = QStringLiteral("http://h/landlord.htm")) {
    return element("game", {{"id", QString::number(id)}, {"title", title}, {"fid", QString::number(fid)},
                            {"icon", QStringLiteral("2")}, {"gametype", type}, {"helpurl", helpurl},
                            {"onlinecount", QString::number(online)}, {"width", QStringLiteral("400")},
                            {"height", QStringLiteral("300")}, {"dllfile", QStringLiteral("libquellmark.so")},
                            {"GUID", QStringLiteral("{5A1F0C3E-0000-4000-8000-000000000001}")},
                            {"version", QStringLiteral("1.3.64.65")}, {"helptext", title + QStringLiteral(" help")}});
}

inline QString usergame(int id) { return element("usergame", {{"gameid", QString::number(id)}}); }

inline QString room(int id, const QString& title, int gid, int online = 0, int gold = 0) {
    return element("room", {{"id", QString::number(id)}, {"title", title}, {"gid", QString::number(gid)},
                            {"icon", QStringLiteral("4")}, {"serverip", QStringLiteral("127.0.0.1")},
                            {"serverport", QStringLiteral("18101")}, {"tablenum", QStringLiteral("50")},
                            {"roomgold", QString::number(gold)}, {"seatnum", QStringLiteral("3")},
                            {"onlinecount", QString::number(online)}, {"showdesk", QStringLiteral("1")},
                            {"enabledlook", QStringLiteral("2")}, {"welcome", QStringLiteral("欢迎")}});
}

inline QString list(const QString& children) {
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?><root>") + children + QStringLiteral("</root>");
}

}  // namespace velmora::hall::test
