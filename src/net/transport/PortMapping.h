#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "net/transport/PortMapper.h"

namespace net {

// The host's UDP port forwarded by the home router for as long as it hosts.
// A thread of its own asks the router (UPnP first, then NAT-PMP), renews
// the lease halfway through, and takes the mapping back when the hosting
// ends; the frame loop only reads the latest answer and never waits on
// the network. A crash leaves a lease that runs out by itself.
class PortMapping {
public:
    enum class State {
        Asking,   // no answer yet
        Mapped,   // others reach this machine at externalAddress:externalPort
        Failed,   // no router answered in time, or it refused: see reason
        Removed,  // the hosting ended and the mapping was taken back
    };
    struct Status {
        State state = State::Asking;
        std::string externalAddress;
        std::uint16_t externalPort = 0;
        std::string reason;
        std::uint32_t leaseSeconds = 0;
        int renewals = 0;
    };
    using Mappers = std::vector<std::unique_ptr<PortMapper>>;

    // The lease asked for; routers may grant less, and it is renewed.
    static constexpr std::uint32_t kLeaseSeconds = 3600;
    // No answer by then counts as none: the host is told to forward the
    // port itself (a later answer still counts).
    static constexpr std::uint32_t kAnswerWithinMs = 2000;
    // Taking the mapping back at the end waits no longer than this.
    static constexpr std::uint32_t kRemoveWithinMs = 1000;

    // Starts asking for `port` at once, trying the mappers in turn.
    PortMapping(std::uint16_t port, Mappers mappers);
    // Takes the mapping back, waiting at most kRemoveWithinMs.
    ~PortMapping();
    PortMapping(const PortMapping&) = delete;
    PortMapping& operator=(const PortMapping&) = delete;

    // The mappers for a real home router: UPnP, then NAT-PMP; or what a
    // test put in their place.
    static Mappers routerMappers();
    // Tests: every PortMapping made from routerMappers() gets these
    // instead; an empty function brings the real ones back.
    static void useMappersForTests(std::function<Mappers()> make);

    // The latest answer; never waits on the router.
    Status status() const;
    // Ends the hosting's mapping now: taken back within `waitMs`, or left
    // to the thread (and the lease) when the router is slow.
    void stop(std::uint32_t waitMs);

private:
    struct Shared;
    static void run(std::shared_ptr<Shared> shared);
    std::shared_ptr<Shared> pShared;
    bool bStopped = false;
};

}  // namespace net
