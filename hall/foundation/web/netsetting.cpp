#include "hall/foundation/web/netsetting.h"

#include "hall/foundation/hallcontext.h"
#include "hall/foundation/localsettings.h"

namespace velmora::hall {

void LoadNetSetting(const platform::RegistryStore& store) {
    // The store's reads do not change it; creating the missing key is the only write.
    if (!store.keyExists(kRegistryNetKey))
        platform::RegistryStore(store.filePath()).createKey(kRegistryNetKey);
    NetSetting& net = HallContext::instance().Net;
    net.ProxyOn = store.readString(kRegistryNetKey, QStringLiteral("proxy")) == QLatin1String("1");
    net.server = store.readString(kRegistryNetKey, QStringLiteral("server"));
    net.port = store.readString(kRegistryNetKey, QStringLiteral("port"));
    net.username = store.readString(kRegistryNetKey, QStringLiteral("username"));
    net.pass = store.readString(kRegistryNetKey, QStringLiteral("pass"));
    net.domain = store.readString(kRegistryNetKey, QStringLiteral("domain"));
    bool ok = false;
    const int type = store.readString(kRegistryNetKey, QStringLiteral("proxytype")).trimmed().toInt(&ok);
    net.ProxyType = ok ? type : 0;
}

void LoadNetSetting() {
    LoadNetSetting(platform::RegistryStore(platform::RegistryStore::defaultPath()));
}

}  // namespace velmora::hall
