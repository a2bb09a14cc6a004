#pragma once
#include <cstdint>
#include <string>

namespace net {

// One way of asking the home router to forward a UDP port to this machine
// (UPnP, NAT-PMP, or a test's stand-in). Its calls wait on the network, so
// only the port mapping's own thread makes them, never the frame loop.
class PortMapper {
public:
    struct Answer {
        bool mapped = false;
        // The address the internet sees, and the port it forwards.
        std::string externalAddress;
        std::uint16_t externalPort = 0;
        // What the router granted; it may be less than was asked.
        std::uint32_t leaseSeconds = 0;
        // Why not, in a few words, when not mapped.
        std::string reason;
    };

    virtual ~PortMapper() = default;
    // Asks for `port` (the same port outside and in) for `leaseSeconds`,
    // giving up after about `withinMs`. Asking again renews the lease.
    virtual Answer map(std::uint16_t port, std::uint32_t leaseSeconds, std::uint32_t withinMs) = 0;
    // Takes back what map() was granted, if anything.
    virtual void unmap() = 0;
};

}  // namespace net
