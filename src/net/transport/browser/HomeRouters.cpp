#include "net/transport/HomeRouters.h"

namespace net {

// A page cannot host, so there is no port to forward; nor does a build
// made without the router libraries (a cross-built simulator) ask one.
PortMapping::Mappers homeRouterMappers() { return {}; }

}  // namespace net
