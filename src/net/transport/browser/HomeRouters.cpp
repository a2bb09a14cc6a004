#include "net/transport/HomeRouters.h"

namespace net {

// A page cannot host, so there is no port to forward.
PortMapping::Mappers homeRouterMappers() { return {}; }

}  // namespace net
