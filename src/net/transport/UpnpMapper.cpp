#include "net/transport/UpnpMapper.h"

#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnpcommands.h>
#include <miniupnpc/upnperrors.h>

#include <string>

namespace net {

namespace {

constexpr char kDescription[] = "Quadrill";
// UPnP's own error numbers that a player can act on.
constexpr int kConflictInMappingEntry = 718;
constexpr int kOnlyPermanentLeases = 725;

std::string refusal(int code) {
    if (code == kConflictInMappingEntry) return "the router forwards that port to another machine already";
    // A mapping without a lease would outlive a crash of the game for good.
    if (code == kOnlyPermanentLeases) return "the router grants only permanent mappings";
    const char* words = strupnperror(code);
    return std::string("the router refused (") + (words ? words : std::to_string(code)) + ")";
}

}  // namespace

struct UpnpMapper::Router {
    UPNPUrls urls{};
    IGDdatas data{};
    char lanAddress[64] = {};
    ~Router() { FreeUPNPUrls(&urls); }
};

UpnpMapper::UpnpMapper() = default;

UpnpMapper::~UpnpMapper() = default;

bool UpnpMapper::findRouter(std::uint32_t withinMs, std::string& reason) {
    // Every kind of gateway asked at once, and one wait for all answers:
    // asked one after the other, each kind would wait the whole time.
    static const char* const kGateways[] = {"urn:schemas-upnp-org:device:InternetGatewayDevice:1",
                                            "urn:schemas-upnp-org:service:WANIPConnection:1",
                                            "urn:schemas-upnp-org:service:WANPPPConnection:1", nullptr};
    int error = 0;
    const int waitMs = static_cast<int>(withinMs);
    UPNPDev* devices = upnpDiscoverDevices(kGateways, waitMs, nullptr, nullptr, UPNP_LOCAL_PORT_ANY, 0, 2, &error, 1);
    if (devices == nullptr) {
        reason = "no UPnP router answered";
        return false;
    }
    auto router = std::make_unique<Router>();
    const int found = UPNP_GetValidIGD(devices, &router->urls, &router->data, router->lanAddress,
                                       sizeof router->lanAddress);
    freeUPNPDevlist(devices);
    // 2 is a gateway that calls itself not connected: some say so behind
    // another NAT, or with an outside address in a reserved range, and
    // forward all the same. Its own answer to the mapping decides.
    if (found == 1 || found == 2) {
        pRouter = std::move(router);
        return true;
    }
    reason = "no UPnP internet gateway answered";
    return false;
}

PortMapper::Answer UpnpMapper::map(std::uint16_t port, std::uint32_t leaseSeconds, std::uint32_t withinMs) {
    Answer answer;
    if (!pRouter && !findRouter(withinMs, answer.reason)) return answer;
    const char* control = pRouter->urls.controlURL;
    const char* service = pRouter->data.first.servicetype;
    char external[64] = {};
    if (UPNP_GetExternalIPAddress(control, service, external) != UPNPCOMMAND_SUCCESS || external[0] == '\0') {
        answer.reason = "the UPnP router did not tell its address";
        return answer;
    }
    const std::string portText = std::to_string(port);
    const std::string leaseText = std::to_string(leaseSeconds);
    const int added = UPNP_AddPortMapping(control, service, portText.c_str(), portText.c_str(), pRouter->lanAddress,
                                          kDescription, "UDP", nullptr, leaseText.c_str());
    if (added != UPNPCOMMAND_SUCCESS) {
        answer.reason = refusal(added);
        return answer;
    }
    mappedPort = port;
    answer.mapped = true;
    answer.externalAddress = external;
    answer.externalPort = port;
    answer.leaseSeconds = leaseSeconds;
    return answer;
}

void UpnpMapper::unmap() {
    if (!pRouter || mappedPort == 0) return;
    const std::string portText = std::to_string(mappedPort);
    UPNP_DeletePortMapping(pRouter->urls.controlURL, pRouter->data.first.servicetype, portText.c_str(), "UDP", nullptr);
    mappedPort = 0;
}

}  // namespace net
