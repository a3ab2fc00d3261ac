// The plug-in library's class: compiled into each plug-in library (velmora_plugin_library()),
// so that the library's DllGetClassObject creates a TPluginInterface50.

#include "plugin/framework/CustomPluginShare.h"
#include "plugin/framework/PluginInterface50.h"

#include "platform/com/comptr.h"
#include "platform/com/dllserver.h"

namespace velmora::com::server {

HRESULT createServerObject(const IID& iid, void** out) {
    // The plug-in's own form class is registered by its library; until one is, the framework's
    // headless form serves.
    if (!plugin::findPluginFormClass(plugin::kPluginFormClass)) {
        plugin::registerPluginFormClass(plugin::kPluginFormClass,
                                        [] { return std::make_unique<plugin::HeadlessPluginForm>(); });
    }
    ComPtr<plugin::TPluginInterface50> object(new plugin::TPluginInterface50);
    return object->QueryInterface(iid, out);
}

}  // namespace velmora::com::server
