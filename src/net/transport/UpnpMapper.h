#pragma once
#include <memory>

#include "net/transport/PortMapper.h"

namespace net {

// A port forwarded by a UPnP Internet Gateway Device (miniupnpc): the
// router is found by SSDP, then asked over its control URL. The router
// found first is kept for renewals and the removal.
class UpnpMapper : public PortMapper {
public:
    UpnpMapper();
    ~UpnpMapper() override;
    UpnpMapper(const UpnpMapper&) = delete;
    UpnpMapper& operator=(const UpnpMapper&) = delete;

    Answer map(std::uint16_t port, std::uint32_t leaseSeconds, std::uint32_t withinMs) override;
    void unmap() override;

private:
    struct Router;
    bool findRouter(std::uint32_t withinMs, std::string& reason);
    std::unique_ptr<Router> pRouter;
    std::uint16_t mappedPort = 0;
};

}  // namespace net
