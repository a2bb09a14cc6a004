#include "app/CommandLine.h"

#include <cerrno>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "app/WholeNumber.h"
#include "net/RelayWire.h"

#ifndef QUADRILL_VERSION
#define QUADRILL_VERSION "0"
#endif

namespace {

const char kUsage[] =
    "Usage: quadrill [OPTION]...\n"
    "A four-player arcade game: keep the balls in the square arena.\n"
    "\n"
    "  --replay FILE        watch a recorded match (Space pauses, Right plays\n"
    "                       fast, Escape leaves)\n"
    "  --host [PORT]        host an online match (UDP port, default 28250)\n"
    "  --relay HOST[:PORT]  with --host: open the room on the relay at HOST\n"
    "                       (default port 28251) and show its code\n"
    "  --join HOST[:PORT]   join the match hosted at HOST\n"
    "  --join CODE@HOST[:PORT]\n"
    "                       join the room with that code on the relay at HOST\n"
    "  --watch HOST[:PORT]  watch the match hosted at HOST\n"
    "  --watch CODE@HOST[:PORT]\n"
    "                       watch the room with that code on the relay at HOST\n"
    "  --no-port-mapping    when hosting, do not ask the home router to forward\n"
    "                       the port (UPnP, NAT-PMP)\n"
    "  --input-delay N      frames of delay on your own keys online (0 to 2,\n"
    "                       default 1)\n"
    "  --script FILE        play keys from FILE instead of the keyboard (tests)\n"
    "  --frames N           end the match after N frames (tests)\n"
    "  -h, --help           print this help and exit\n"
    "  -V, --version        print the version and exit\n";

const char kVersionLine[] = "quadrill " QUADRILL_VERSION;

bool parsePort(const char* text, std::uint16_t& port) {
    unsigned long long value = 0;
    if (!parseWholeNumber(text, 1, 65535, value)) return false;
    port = static_cast<std::uint16_t>(value);
    return true;
}

// HOST, HOST:PORT, or [V6ADDRESS]:PORT; a bare IPv6 address has more than
// one colon and no port.
bool parseAddress(const std::string& text, std::string& host, std::uint16_t& port) {
    if (text.empty()) return false;
    std::string portText;
    if (text[0] == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string::npos || close == 1) return false;
        host = text.substr(1, close - 1);
        const std::string rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (rest[0] != ':') return false;
            portText = rest.substr(1);
            if (portText.empty()) return false;
        }
    } else {
        const std::size_t colon = text.find(':');
        if (colon != std::string::npos && text.find(':', colon + 1) == std::string::npos) {
            host = text.substr(0, colon);
            portText = text.substr(colon + 1);
            if (host.empty() || portText.empty()) return false;
        } else {
            host = text;
        }
    }
    return portText.empty() || parsePort(portText.c_str(), port);
}

// CODE@HOST[:PORT]: a room on a relay, its code in any case.
bool parseRoomAddress(const std::string& text, CommandLine& line) {
    const std::size_t at = text.find('@');
    if (at == std::string::npos) return false;
    std::string code = text.substr(0, at);
    for (char& c : code) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (!net::RelayWire::isCode(code)) return false;
    line.roomCode = code;
    line.viaRelay = true;
    line.netPort = CommandLine::kDefaultRelayPort;
    return parseAddress(text.substr(at + 1), line.netHost, line.netPort);
}

CommandLine usageError(const std::string& message) {
    CommandLine bad;
    bad.action = CommandLine::Action::Usage;
    bad.error = message;
    return bad;
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    bool sawNetRole = false;
    std::string relayHost;
    std::uint16_t relayPort = CommandLine::kDefaultRelayPort;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i] ? argv[i] : "";
        const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
        auto needsValue = [&]() -> const char* {
            if (next == nullptr) return nullptr;
            ++i;
            return next;
        };
        if (option == "-h" || option == "--help") {
            line.action = CommandLine::Action::Help;
            return line;
        }
        if (option == "-V" || option == "--version") {
            line.action = CommandLine::Action::Version;
            return line;
        }
        if (option == "--replay") {
            const char* value = needsValue();
            if (value == nullptr || *value == '\0') return usageError("--replay needs a file");
            line.replayPath = value;
        } else if (option == "--host") {
            if (sawNetRole) return usageError("only one of --host, --join and --watch");
            sawNetRole = true;
            line.netRole = CommandLine::NetRole::Host;
            // The port is optional: take the next word only when it is a number.
            if (next != nullptr && next[0] >= '0' && next[0] <= '9') {
                if (!parsePort(next, line.netPort)) return usageError(std::string("bad port: ") + next);
                ++i;
            }
        } else if (option == "--join" || option == "--watch") {
            if (sawNetRole) return usageError("only one of --host, --join and --watch");
            sawNetRole = true;
            line.netRole = option == "--join" ? CommandLine::NetRole::Join : CommandLine::NetRole::Watch;
            const char* value = needsValue();
            const bool toRoom = value != nullptr && std::strchr(value, '@') != nullptr;
            if (toRoom && !parseRoomAddress(value, line)) {
                return usageError(option + " needs CODE@HOST: six letters, and the relay's HOST or HOST:PORT");
            }
            if (!toRoom && (value == nullptr || !parseAddress(value, line.netHost, line.netPort))) {
                return usageError(option + " needs HOST or HOST:PORT, or CODE@HOST");
            }
        } else if (option == "--relay") {
            const char* value = needsValue();
            relayPort = CommandLine::kDefaultRelayPort;
            if (value == nullptr || !parseAddress(value, relayHost, relayPort)) {
                return usageError("--relay needs HOST or HOST:PORT");
            }
        } else if (option == "--no-port-mapping") {
            line.portMapping = false;
        } else if (option == "--input-delay") {
            unsigned long long value = 0;
            if (!parseWholeNumber(needsValue(), 0, 2, value)) return usageError("--input-delay needs 0, 1 or 2");
            line.inputDelay = static_cast<int>(value);
        } else if (option == "--script") {
            const char* value = needsValue();
            if (value == nullptr || *value == '\0') return usageError("--script needs a file");
            line.scriptPath = value;
        } else if (option == "--frames") {
            unsigned long long value = 0;
            if (!parseWholeNumber(needsValue(), 1, 100000000ull, value)) return usageError("--frames needs a count");
            line.frameLimit = value;
        } else {
            return usageError("unknown option: " + option);
        }
    }
    if (!relayHost.empty()) {
        if (line.netRole != CommandLine::NetRole::Host) return usageError("--relay goes with --host");
        line.viaRelay = true;
        line.netHost = relayHost;
        line.netPort = relayPort;
    }
    if (!line.replayPath.empty() && line.netRole != CommandLine::NetRole::None) {
        return usageError("--replay cannot be used with --host, --join or --watch");
    }
    return line;
}

const char* commandLineUsage() { return kUsage; }
const char* versionLine() { return kVersionLine; }
