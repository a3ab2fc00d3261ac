#include "hall/shell/core/settingsmodel.h"

namespace velmora::hall {

NetSettingForm ReadNetSettingForm(platform::RegistryStore& store) {
    NetSettingForm form;
    if (!store.keyExists(kRegistryNetKey))
        store.createKey(kRegistryNetKey);
    auto read = [&store](const char* name) {
        return store.readString(kRegistryNetKey, QLatin1String(name));
    };
    form.proxy = read("proxy") == QLatin1String("1");
    bool ok = false;
    const int type = read("proxytype").trimmed().toInt(&ok);
    form.proxyType = ok && type >= 0 && type <= 2 ? type : 0;
    form.server = read("server");
    form.port = read("port");
    form.username = read("username");
    form.pass = read("pass");
    form.domain = read("domain");
    return form;
}

std::optional<NetSettingProblem> CheckNetSetting(const NetSettingForm& form) {
    if (!form.proxy)
        return std::nullopt;
    if (form.server.isEmpty())
        return NetSettingProblem{NetField::Server, QStringLiteral("代理服务器的地址不能为空!")};
    if (form.port.isEmpty())
        return NetSettingProblem{NetField::Port, QStringLiteral("代理服务器的端口不能为空!")};
    return std::nullopt;
}

bool WriteNetSetting(platform::RegistryStore& store, const NetSettingForm& form) {
    return store.writeStrings(
        kRegistryNetKey,
        {{QStringLiteral("proxy"), form.proxy ? QStringLiteral("1") : QStringLiteral("0")},
         {QStringLiteral("proxytype"), QString::number(form.proxyType)},
         {QStringLiteral("server"), form.server},
         {QStringLiteral("port"), form.port},
         {QStringLiteral("username"), form.username},
         {QStringLiteral("pass"), form.pass},
         {QStringLiteral("domain"), form.domain}});
}

void ApplyNetSetting(const NetSettingForm& form, NetSetting& net) {
    net.ProxyOn = form.proxy;
    net.ProxyType = form.proxyType;
    net.server = form.server;
    net.port = form.port;
    net.username = form.username;
    net.pass = form.pass;
    net.domain = form.domain;
}

bool FleeNumberCharAllowed(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

bool DeskPasswordCharAllowed(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

qint8 FleeNumberFromText(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= 0 && value <= 99 ? qint8(value) : 0;
}

QString SaveSettingForm(const QString& token, const STRU_GAMESETTING& setting) {
    auto flag = [](bool b) { return b ? QStringLiteral("1") : QStringLiteral("0"); };
    return QStringLiteral("token=") + token + QStringLiteral("&setsameip=") + flag(setting.sameip) +
           QStringLiteral("&setflee=") + flag(setting.fleesetting) +
           QStringLiteral("&setfleenum=") + QString::number(setting.fleenumber);
}

}  // namespace velmora::hall
