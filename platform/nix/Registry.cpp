#include "platform/Registry.h"

#include "platform/Service.h"
#include "platform/nix/TextRegistry.h"

namespace platform {

// No registry of its own here: the file stands in for it.
Registry& Registry::current() {
    return currentService<Registry, TextRegistry>();
}

Registry* Registry::install(Registry* registry) {
    return installService(registry);
}

} // namespace platform
