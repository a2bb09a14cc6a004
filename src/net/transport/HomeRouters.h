#pragma once
#include "net/transport/PortMapping.h"

namespace net {

// The ways this build can ask a home router to forward a port, in the
// order they are tried: on the desktop UPnP, then NAT-PMP; none in the
// browser, which cannot host.
PortMapping::Mappers homeRouterMappers();

}  // namespace net
