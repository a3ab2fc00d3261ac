#include "hall/foundation/hallcontext.h"

namespace velmora::hall {

HallContext& HallContext::instance() {
    static HallContext context;
    return context;
}

void HallContext::reset() { instance() = HallContext(); }

}  // namespace velmora::hall
