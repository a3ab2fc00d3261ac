#pragma once
// The proxy settings of registry key "Net" (below the hall's base key) into HallContext::Net.

#include "platform/registry/registrystore.h"

namespace velmora::hall {

// Reads `proxy`, `server`, `port`, `username`, `pass`, `domain` and `proxytype`, creating the
// key when missing. ProxyOn is `proxy` == "1"; ProxyType is `proxytype` as an integer, 0 when
// not a number. A missing value reads as empty.
void LoadNetSetting(const platform::RegistryStore& store);
// The same on the user's store (RegistryStore::defaultPath()).
void LoadNetSetting();

}  // namespace velmora::hall
