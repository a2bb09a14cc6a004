#include "net/transport/HomeRouters.h"

#include "net/transport/NatPmpMapper.h"
#include "net/transport/UpnpMapper.h"

namespace net {

PortMapping::Mappers homeRouterMappers() {
    PortMapping::Mappers mappers;
    mappers.push_back(std::make_unique<UpnpMapper>());
    mappers.push_back(std::make_unique<NatPmpMapper>());
    return mappers;
}

}  // namespace net
