#include "net/transport/PortMapping.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "net/transport/HomeRouters.h"
#include "net/transport/MappingLease.h"

namespace net {

namespace {

using Clock = std::chrono::steady_clock;

// UPnP's search gets this much of the answer's time; NAT-PMP the rest.
// miniupnpc's search waits a whole second at the least (SSDP counts its
// wait in seconds), however little it is given.
constexpr std::uint32_t kFirstMapperShareMs = 1000;

std::function<PortMapping::Mappers()>& testMappers() {
    static std::function<PortMapping::Mappers()> make;
    return make;
}

std::uint64_t msSince(Clock::time_point start) {
    const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    return static_cast<std::uint64_t>(spent.count());
}

}  // namespace

// What the thread and the game share. The thread holds it too, so that a
// thread left behind by a slow router at the end still has it.
struct PortMapping::Shared {
    std::mutex lock;
    std::condition_variable wake;
    bool stopping = false;
    bool finished = false;
    Status status;
    Clock::time_point started = Clock::now();
    std::uint16_t port = 0;
    Mappers mappers;
};

PortMapping::PortMapping(std::uint16_t port, Mappers mappers) : pShared(std::make_shared<Shared>()) {
    pShared->port = port;
    pShared->mappers = std::move(mappers);
    try {
        std::thread(run, pShared).detach();
    } catch (const std::system_error&) {
        pShared->status.state = State::Failed;
        pShared->status.reason = "no thread to ask the router on";
        pShared->finished = true;
    }
}

PortMapping::~PortMapping() { stop(kRemoveWithinMs); }

PortMapping::Mappers PortMapping::routerMappers() {
    if (testMappers()) return testMappers()();
    return homeRouterMappers();
}

void PortMapping::useMappersForTests(std::function<Mappers()> make) { testMappers() = std::move(make); }

PortMapping::Status PortMapping::status() const {
    std::lock_guard<std::mutex> hold(pShared->lock);
    Status now = pShared->status;
    if (now.state == State::Asking && msSince(pShared->started) >= kAnswerWithinMs) {
        now.state = State::Failed;
        now.reason = "no router answered within 2 s";
    }
    return now;
}

void PortMapping::stop(std::uint32_t waitMs) {
    if (bStopped) return;
    bStopped = true;
    std::unique_lock<std::mutex> hold(pShared->lock);
    pShared->stopping = true;
    pShared->wake.notify_all();
    pShared->wake.wait_for(hold, std::chrono::milliseconds(waitMs), [this] { return pShared->finished; });
}

void PortMapping::run(std::shared_ptr<Shared> shared) {
    const std::uint16_t port = shared->port;
    PortMapper* granting = nullptr;
    PortMapper::Answer answer;
    std::string reasons;
    for (std::size_t i = 0; i < shared->mappers.size() && granting == nullptr; ++i) {
        const std::uint64_t spent = msSince(shared->started);
        if (spent >= kAnswerWithinMs) break;
        const std::uint32_t left = kAnswerWithinMs - static_cast<std::uint32_t>(spent);
        const bool last = i + 1 == shared->mappers.size();
        const std::uint32_t share = last || left < kFirstMapperShareMs ? left : kFirstMapperShareMs;
        answer = shared->mappers[i]->map(port, kLeaseSeconds, share);
        if (answer.mapped) {
            granting = shared->mappers[i].get();
        } else {
            reasons += (reasons.empty() ? "" : ", ") + answer.reason;
        }
    }
    std::unique_lock<std::mutex> hold(shared->lock);
    Status& status = shared->status;
    if (granting == nullptr) {
        status.state = State::Failed;
        status.reason = reasons.empty() ? "no router answered within 2 s" : reasons;
        shared->wake.wait(hold, [&] { return shared->stopping; });
        shared->finished = true;
        shared->wake.notify_all();
        return;
    }
    status.state = State::Mapped;
    status.externalAddress = answer.externalAddress;
    status.externalPort = answer.externalPort;
    status.leaseSeconds = answer.leaseSeconds;
    MappingLease lease;
    lease.granted(msSince(shared->started), answer.leaseSeconds);
    while (!shared->stopping) {
        const auto renewAt = shared->started + std::chrono::milliseconds(lease.renewAt());
        if (shared->wake.wait_until(hold, renewAt, [&] { return shared->stopping; })) break;
        hold.unlock();
        const PortMapper::Answer renewed = granting->map(port, kLeaseSeconds, kAnswerWithinMs);
        hold.lock();
        const std::uint64_t now = msSince(shared->started);
        if (renewed.mapped) {
            // A router given a new address by the provider tells it here.
            status.state = State::Mapped;
            status.externalAddress = renewed.externalAddress;
            status.externalPort = renewed.externalPort;
            lease.granted(now, renewed.leaseSeconds);
            status.leaseSeconds = renewed.leaseSeconds;
            ++status.renewals;
        } else {
            lease.renewalFailed(now);
            if (lease.expired(now)) {
                status.state = State::Failed;
                status.reason = "the router stopped forwarding the port: " + renewed.reason;
            }
        }
    }
    hold.unlock();
    granting->unmap();
    hold.lock();
    status.state = State::Removed;
    shared->finished = true;
    shared->wake.notify_all();
}

}  // namespace net
