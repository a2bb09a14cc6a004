#pragma once
#include "net/transport/PortMapper.h"

namespace net {

// A port forwarded by a router that speaks NAT-PMP (libnatpmp), asked at
// the default gateway.
class NatPmpMapper : public PortMapper {
public:
    ~NatPmpMapper() override;
    Answer map(std::uint16_t port, std::uint32_t leaseSeconds, std::uint32_t withinMs) override;
    void unmap() override;

private:
    std::uint16_t mappedPort = 0;
    std::uint16_t publicPort = 0;
};

}  // namespace net
