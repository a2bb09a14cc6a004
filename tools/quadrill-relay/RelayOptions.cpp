#include "RelayOptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "app/WholeNumber.h"

#ifndef QUADRILL_VERSION
#define QUADRILL_VERSION "0"
#endif

namespace {

const char kUsage[] =
    "Usage: quadrill-relay [OPTION]...\n"
    "Relays Quadrill's online rooms for machines that cannot host: one opens a\n"
    "room and gets its code, the others enter it by the code.\n"
    "\n"
    "  --port N                    UDP port to listen on (default 28251)\n"
    "  --address ADDR              listen on this address only (default all)\n"
    "  --rooms N                   rooms at once (default 1000)\n"
    "  --rooms-per-address N       rooms opened from one address at once\n"
    "                              (default 16)\n"
    "  --machines-per-room N       machines in a room, its opener too\n"
    "                              (default 12)\n"
    "  --messages-per-second N     messages an address may send a second\n"
    "                              (default 3000)\n"
    "  --bytes-per-second N        bytes an address may send a second\n"
    "                              (default 600000)\n"
    "  --wrong-codes-per-minute N  wrong room codes an address may try a\n"
    "                              minute; after 3, each answer waits a\n"
    "                              second (default 10)\n"
    "  --empty-room-seconds N      a room whose opener left keeps its code\n"
    "                              this long (default 30)\n"
    "  --connections N             connections at once, at most 4095\n"
    "                              (default 4095)\n"
    "  --queued-packets N          packets waiting for one connection before\n"
    "                              it is let go (default 1024)\n"
    "  --stats N                   every N seconds, log the rooms, connections,\n"
    "                              messages and how long they stayed (0: never)\n"
    "  -h, --help                  print this help and exit\n"
    "  -V, --version               print the version and exit\n";

const char kVersionLine[] = "quadrill-relay " QUADRILL_VERSION;

}  // namespace

RelayOptions RelayOptions::parse(int argc, const char* const* argv) {
    RelayOptions options;
    auto bad = [](const std::string& message) {
        RelayOptions wrong;
        wrong.action = Action::Usage;
        wrong.error = message;
        return wrong;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i] ? argv[i] : "";
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (option == "-h" || option == "--help") {
            options.action = Action::Help;
            return options;
        }
        if (option == "-V" || option == "--version") {
            options.action = Action::Version;
            return options;
        }
        if (option == "--address") {
            if (value == nullptr || *value == '\0') return bad("--address needs an address");
            options.address = value;
            ++i;
            continue;
        }
        struct Numeric {
            const char* name;
            unsigned long long min, max;
        };
        static const Numeric numerics[] = {
            {"--port", 1, 65535},
            {"--rooms", 1, 100000},
            {"--machines-per-room", 2, 255},
            {"--rooms-per-address", 1, 100000},
            {"--messages-per-second", 1, 100000000},
            {"--bytes-per-second", 1, 4000000000ull},
            {"--wrong-codes-per-minute", 0, 1000000},
            {"--empty-room-seconds", 0, 86400},
            {"--connections", 1, 4095},
            {"--queued-packets", 16, 1000000},
            {"--stats", 0, 86400},
        };
        const Numeric* which = nullptr;
        for (const Numeric& n : numerics) {
            if (option == n.name) which = &n;
        }
        if (which == nullptr) return bad("unknown option: " + option);
        unsigned long long number = 0;
        if (!parseWholeNumber(value, which->min, which->max, number)) {
            return bad(option + " needs a number from " + std::to_string(which->min) + " to " +
                       std::to_string(which->max));
        }
        ++i;
        RelayLimits& l = options.limits;
        if (option == "--port") options.port = static_cast<std::uint16_t>(number);
        if (option == "--rooms") l.rooms = static_cast<int>(number);
        if (option == "--rooms-per-address") l.roomsPerAddress = static_cast<int>(number);
        if (option == "--machines-per-room") l.machinesPerRoom = static_cast<int>(number);
        if (option == "--messages-per-second") l.messagesPerSecond = static_cast<std::uint32_t>(number);
        if (option == "--bytes-per-second") l.bytesPerSecond = static_cast<std::uint32_t>(number);
        if (option == "--wrong-codes-per-minute") l.wrongCodesPerMinute = static_cast<std::uint32_t>(number);
        if (option == "--empty-room-seconds") l.emptyRoomMs = static_cast<std::uint32_t>(number * 1000);
        if (option == "--connections") l.connections = static_cast<int>(number);
        if (option == "--stats") options.statsEverySeconds = static_cast<std::uint32_t>(number);
        if (option == "--queued-packets") l.queuedPackets = static_cast<std::size_t>(number);
    }
    return options;
}

const char* RelayOptions::usage() { return kUsage; }
const char* RelayOptions::versionLine() { return kVersionLine; }
