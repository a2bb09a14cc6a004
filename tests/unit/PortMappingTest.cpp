#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "net/transport/MappingLease.h"
#include "net/transport/PortMapping.h"

namespace {

using net::MappingLease;
using net::PortMapper;
using net::PortMapping;
using Clock = std::chrono::steady_clock;

// A router as the test wants it: what it answers, how long it takes, and
// what it was asked. The counts outlive the mapper, which the mapping owns.
struct RouterLog {
    std::atomic<int> maps{0};
    std::atomic<int> unmaps{0};
};

class FakeRouter : public PortMapper {
public:
    FakeRouter(std::shared_ptr<RouterLog> log, bool grants, std::uint32_t leaseSeconds, int answerAfterMs = 0)
        : log(std::move(log)), grants(grants), lease(leaseSeconds), delayMs(answerAfterMs) {}
    Answer map(std::uint16_t port, std::uint32_t, std::uint32_t) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        ++log->maps;
        Answer answer;
        answer.mapped = grants;
        answer.reason = grants ? "" : "the router refused";
        answer.externalAddress = "203.0.113.7";
        answer.externalPort = port;
        answer.leaseSeconds = lease;
        return answer;
    }
    void unmap() override { ++log->unmaps; }

private:
    std::shared_ptr<RouterLog> log;
    bool grants;
    std::uint32_t lease;
    int delayMs;
};

PortMapping::Mappers routers(std::unique_ptr<PortMapper> first, std::unique_ptr<PortMapper> second = nullptr) {
    PortMapping::Mappers mappers;
    mappers.push_back(std::move(first));
    if (second) mappers.push_back(std::move(second));
    return mappers;
}

// Until the mapping has an answer, or `ms` have gone.
PortMapping::Status awaitAnswer(const PortMapping& mapping, int ms = 1500) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    PortMapping::Status status = mapping.status();
    while (status.state == PortMapping::State::Asking && Clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        status = mapping.status();
    }
    return status;
}

long long msSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

}  // namespace

TEST(MappingLease, RenewedHalfwayAndRetriedWhileAnyOfTheLeaseIsLeft) {
    MappingLease lease;
    // An hour asked and granted at minute 10: renewed at 40.
    lease.granted(600000, 3600);
    EXPECT_EQ(600000u + 1800000u, lease.renewAt());
    EXPECT_FALSE(lease.expired(600000 + 3599999));
    EXPECT_TRUE(lease.expired(600000 + 3600000));
    // The router did not answer the renewal: asked again in 30 s, and
    // sooner as the end nears, but never more than once a second.
    lease.renewalFailed(2400000);
    EXPECT_EQ(2400000u + MappingLease::kRetryMs, lease.renewAt());
    lease.renewalFailed(600000 + 3600000 - 10000);
    EXPECT_EQ(600000u + 3600000u - 5000u, lease.renewAt());
    lease.renewalFailed(600000 + 3600000 - 500);
    EXPECT_EQ(600000u + 3600000u - 500u + 1000u, lease.renewAt());
    // Run out: asked now and then only.
    lease.renewalFailed(600000 + 3600000 + 2000);
    EXPECT_EQ(600000u + 3600000u + 2000u + MappingLease::kRetryMs, lease.renewAt());
    // A router that grants two minutes is asked again after one; one that
    // grants nothing sensible is not asked in a busy loop.
    lease.granted(0, 120);
    EXPECT_EQ(60000u, lease.renewAt());
    lease.granted(5000, 0);
    EXPECT_EQ(6000u, lease.renewAt());
}

TEST(PortMapping, TheRoutersAnswerIsReadWithoutWaitingRenewedAndTakenBackAtTheEnd) {
    auto log = std::make_shared<RouterLog>();
    auto mapping = std::make_unique<PortMapping>(28250, routers(std::make_unique<FakeRouter>(log, true, 2, 100)));
    // The router takes 100 ms; the game's look at it takes none of that.
    const auto asked = Clock::now();
    EXPECT_EQ(PortMapping::State::Asking, mapping->status().state);
    EXPECT_LT(msSince(asked), 50);
    const PortMapping::Status status = awaitAnswer(*mapping);
    ASSERT_EQ(PortMapping::State::Mapped, status.state);
    EXPECT_EQ("203.0.113.7", status.externalAddress);
    EXPECT_EQ(28250, status.externalPort);
    // A two-second lease is renewed after one, before it runs out.
    std::this_thread::sleep_for(std::chrono::milliseconds(1400));
    EXPECT_EQ(1, mapping->status().renewals);
    EXPECT_EQ(2, log->maps.load());
    EXPECT_EQ(0, log->unmaps.load());
    mapping.reset();
    EXPECT_EQ(1, log->unmaps.load());
}

TEST(PortMapping, TheNextWayIsTriedWhenTheFirstIsRefusedAndOnlyTheGrantingOneIsTakenBack) {
    auto upnp = std::make_shared<RouterLog>();
    auto natPmp = std::make_shared<RouterLog>();
    {
        PortMapping mapping(4000, routers(std::make_unique<FakeRouter>(upnp, false, 0),
                                          std::make_unique<FakeRouter>(natPmp, true, 3600)));
        EXPECT_EQ(PortMapping::State::Mapped, awaitAnswer(mapping).state);
    }
    EXPECT_EQ(0, upnp->unmaps.load());
    EXPECT_EQ(1, natPmp->unmaps.load());
    // Refused everywhere: the reasons are told, and nothing is taken back.
    auto refusing = std::make_shared<RouterLog>();
    {
        PortMapping mapping(4000, routers(std::make_unique<FakeRouter>(refusing, false, 0)));
        const PortMapping::Status status = awaitAnswer(mapping);
        EXPECT_EQ(PortMapping::State::Failed, status.state);
        EXPECT_EQ("the router refused", status.reason);
    }
    EXPECT_EQ(0, refusing->unmaps.load());
}

TEST(PortMapping, ARouterThatNeverAnswersCostsTheGameTwoSecondsOfWaitingForNothing) {
    auto log = std::make_shared<RouterLog>();
    auto mapping = std::make_unique<PortMapping>(28250, routers(std::make_unique<FakeRouter>(log, true, 3600, 4000)));
    const auto start = Clock::now();
    const PortMapping::Status status = awaitAnswer(*mapping, 3000);
    EXPECT_EQ(PortMapping::State::Failed, status.state);
    EXPECT_NEAR(static_cast<double>(PortMapping::kAnswerWithinMs), static_cast<double>(msSince(start)), 300.0);
    // Closing while the router still ponders waits a bounded time only;
    // the thread finishes on its own.
    const auto closing = Clock::now();
    mapping.reset();
    EXPECT_LT(msSince(closing), PortMapping::kRemoveWithinMs + 200);
}
