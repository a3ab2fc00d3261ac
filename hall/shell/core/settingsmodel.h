#pragma once
// The rules of the network and game settings dialogs: registry key "Net", the checks before
// saving, the input filters and the settings post.

#include "hall/foundation/hallcontext.h"
#include "hall/foundation/localsettings.h"
#include "platform/registry/registrystore.h"

#include <QString>
#include <optional>

namespace velmora::hall {

// The network settings as the dialog shows them.
struct NetSettingForm {
    bool proxy = false;
    int proxyType = 0;  // 0 HTTP, 1 SOCKS5, 2 SOCKS4
    QString server;
    QString port;
    QString username;
    QString pass;
    QString domain;
    bool operator==(const NetSettingForm&) const = default;
};

// Reads key "Net" (creating it when missing). A proxytype that is not 0..2 reads as 0.
NetSettingForm ReadNetSettingForm(platform::RegistryStore& store);

enum class NetField { Server, Port };
struct NetSettingProblem {
    NetField field;
    QString message;
};
// With the proxy chosen, an empty server or port is refused (in that order).
std::optional<NetSettingProblem> CheckNetSetting(const NetSettingForm& form);

// Writes the seven values in one replacement. False when the registry could not be written:
// nothing was changed then.
bool WriteNetSetting(platform::RegistryStore& store, const NetSettingForm& form);
// Copies the form into the process-wide proxy settings.
void ApplyNetSetting(const NetSettingForm& form, NetSetting& net);

inline const QString kNetSettingWriteFailed =
    QStringLiteral("网络设置保存失败，请检查配置文件是否可写。");

// edtLess takes only "0".."9"; edtPass only ASCII letters and digits. Every other typed
// character is dropped.
bool FleeNumberCharAllowed(QChar c);
bool DeskPasswordCharAllowed(QChar c);
// The text of edtLess as fleenumber: 0 when empty or not a number of at most two digits.
qint8 FleeNumberFromText(const QString& text);

// "token=" + token + "&setsameip=" + 1/0 + "&setflee=" + 1/0 + "&setfleenum=" + fleenumber.
QString SaveSettingForm(const QString& token, const STRU_GAMESETTING& setting);

}  // namespace velmora::hall
