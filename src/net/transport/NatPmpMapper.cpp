#include "net/transport/NatPmpMapper.h"

#include <arpa/inet.h>
#include <natpmp.h>
#include <sys/select.h>

#include <chrono>

namespace net {

namespace {

using Clock = std::chrono::steady_clock;

// The time removing a mapping may take at most: the game is closing.
constexpr std::uint32_t kUnmapWithinMs = 500;

// One request's answer, waited for until `deadline`: libnatpmp sends the
// request again on its own schedule, we only bound the whole.
int awaitAnswer(natpmp_t& nat, natpmpresp_t& response, Clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()).count();
        if (left <= 0) return NATPMP_TRYAGAIN;
        timeval timeout{};
        getnatpmprequesttimeout(&nat, &timeout);
        const long long wanted = static_cast<long long>(timeout.tv_sec) * 1000000 + timeout.tv_usec;
        const long long wait = wanted < left ? wanted : left;
        timeout.tv_sec = static_cast<time_t>(wait / 1000000);
        timeout.tv_usec = static_cast<suseconds_t>(wait % 1000000);
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(nat.s, &readable);
        select(nat.s + 1, &readable, nullptr, nullptr, &timeout);
        const int read = readnatpmpresponseorretry(&nat, &response);
        if (read != NATPMP_TRYAGAIN) return read;
    }
}

std::string refusal(int code) {
    switch (code) {
        case NATPMP_TRYAGAIN:
        case NATPMP_ERR_RECVFROM:
        case NATPMP_ERR_NOGATEWAYSUPPORT:
            return "no NAT-PMP router answered";
        case NATPMP_ERR_CANNOTGETGATEWAY:
            return "no default gateway";
        case NATPMP_ERR_NOTAUTHORIZED:
            return "the router refused (not authorised)";
        case NATPMP_ERR_OUTOFRESOURCES:
            return "the router refused (out of resources)";
        default:
            return "the NAT-PMP router refused (" + std::to_string(code) + ")";
    }
}

// One request to the gateway and its answer, within `withinMs`.
template <typename Send>
int ask(Send send, natpmpresp_t& response, std::uint32_t withinMs) {
    natpmp_t nat{};
    int result = initnatpmp(&nat, 0, 0);
    if (result < 0) return result;
    result = send(nat);
    if (result >= 0) result = awaitAnswer(nat, response, Clock::now() + std::chrono::milliseconds(withinMs));
    closenatpmp(&nat);
    return result;
}

}  // namespace

NatPmpMapper::~NatPmpMapper() = default;

PortMapper::Answer NatPmpMapper::map(std::uint16_t port, std::uint32_t leaseSeconds, std::uint32_t withinMs) {
    Answer answer;
    const Clock::time_point start = Clock::now();
    natpmpresp_t response{};
    int result = ask([](natpmp_t& nat) { return sendpublicaddressrequest(&nat); }, response, withinMs);
    if (result < 0) {
        answer.reason = refusal(result);
        return answer;
    }
    char address[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &response.pnu.publicaddress.addr, address, sizeof address);
    const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    const std::uint32_t left = spent < withinMs ? withinMs - static_cast<std::uint32_t>(spent) : 1;
    // Renewing asks for the public port the router gave last time.
    const std::uint16_t wantedPublic = publicPort != 0 ? publicPort : port;
    result = ask(
        [&](natpmp_t& nat) {
            return sendnewportmappingrequest(&nat, NATPMP_PROTOCOL_UDP, port, wantedPublic, leaseSeconds);
        },
        response, left);
    if (result < 0) {
        answer.reason = refusal(result);
        return answer;
    }
    mappedPort = port;
    publicPort = response.pnu.newportmapping.mappedpublicport;
    answer.mapped = true;
    answer.externalAddress = address;
    answer.externalPort = publicPort;
    answer.leaseSeconds = response.pnu.newportmapping.lifetime;
    return answer;
}

void NatPmpMapper::unmap() {
    if (mappedPort == 0) return;
    natpmpresp_t response{};
    // A lifetime of 0 deletes the mapping.
    const std::uint16_t port = mappedPort;
    ask([port](natpmp_t& nat) { return sendnewportmappingrequest(&nat, NATPMP_PROTOCOL_UDP, port, 0, 0); }, response,
        kUnmapWithinMs);
    mappedPort = 0;
    publicPort = 0;
}

}  // namespace net
