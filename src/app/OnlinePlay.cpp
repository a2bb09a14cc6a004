#include "app/OnlinePlay.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "app/scenes/Stage.h"
#include "combat/MatchKeys.h"
#include "menu/Menu.h"
#include "physics/MatchRandom.h"
#include "platform/Clipboard.h"
#include "platform/SafeSave.h"

namespace {

std::string replaysFolder() { return Stage::replaysFolder(); }

// QUADRILL_NET_DUMP="FRAME:FILE.bmp": the picture of that settled frame.
void readDumpSwitch(net::NetMatch::Options& options) {
    const char* dump = std::getenv("QUADRILL_NET_DUMP");
    if (dump == nullptr) return;
    const std::string text = dump;
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon + 1 >= text.size()) return;
    options.dumpFrame = static_cast<std::uint32_t>(std::strtoul(text.substr(0, colon).c_str(), nullptr, 10));
    options.dumpPath = text.substr(colon + 1);
}

}  // namespace

OnlinePlay::OnlinePlay(const CommandLine& chosen, std::uint64_t fingerprint) : options(chosen) {
    const bool hosting = options.netRole == CommandLine::NetRole::Host;
    const net::Role role = options.netRole == CommandLine::NetRole::Watch ? net::Role::Spectator : net::Role::Player;
    pSession = std::make_unique<net::Session>(hosting, role, net::ownVersions(fingerprint));
    bHeadless = !options.scriptPath.empty() || options.frameLimit != 0;
    matchOptions.inputDelay = options.inputDelay;
    matchOptions.stopAfter = static_cast<std::uint32_t>(options.frameLimit);
    // A test switch: this machine's match goes its own way after that frame.
    if (const char* nudge = std::getenv("QUADRILL_NET_NUDGE")) {
        matchOptions.nudgeAt = static_cast<std::uint32_t>(std::strtoul(nudge, nullptr, 10));
    }
    readDumpSwitch(matchOptions);
}

OnlinePlay::~OnlinePlay() = default;

std::unique_ptr<OnlinePlay> OnlinePlay::open(const CommandLine& options, std::uint64_t fingerprint) {
    auto room = std::make_unique<OnlinePlay>(options, fingerprint);
    std::string error;
    if (room->open(error)) return room;
    std::fprintf(stderr, "quadrill: %s\n", error.c_str());
    return nullptr;
}

bool OnlinePlay::open(std::string& error) {
    if (!options.scriptPath.empty()) {
        std::ifstream in(options.scriptPath, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof()) {
            error = "cannot read " + options.scriptPath;
            return false;
        }
        if (!parseInputScript(text, script, error)) {
            error = options.scriptPath + ": " + error;
            return false;
        }
        bHasScript = true;
    }
    const bool hosting = options.netRole == CommandLine::NetRole::Host;
    if (options.viaRelay) pSession->useRelay(hosting ? "" : options.roomCode);
    const std::string host = hosting && !options.viaRelay ? "" : options.netHost;
    if (!pSession->open(host, options.netPort, error)) return false;
    // A room on a relay needs no port of its own.
    if (hosting && !options.viaRelay && options.portMapping) {
        pPortMapping = std::make_unique<net::PortMapping>(pSession->port(), net::PortMapping::routerMappers());
    }
    return true;
}

std::string OnlinePlay::title() const {
    switch (options.netRole) {
        case CommandLine::NetRole::Host:
            if (options.viaRelay) return "Quadrill - hosting on the relay " + options.netHost;
            return "Quadrill - hosting on port " + std::to_string(options.netPort);
        case CommandLine::NetRole::Join:
            return "Quadrill - joined " + where();
        case CommandLine::NetRole::Watch:
            return "Quadrill - watching " + where();
        case CommandLine::NetRole::None:
            break;
    }
    return "Quadrill";
}

bool OnlinePlay::mayGoNow(std::uint32_t nowMs) {
    // The host waits for everybody to go first, a player for the host to
    // hold all its keys; but not for ever.
    constexpr std::uint32_t kLongestWaitMs = 10000;
    if (!bGoing) {
        bGoing = true;
        dwGoingSince = nowMs;
    }
    return pSession->mayGoNow() || nowMs - dwGoingSince > kLongestWaitMs;
}

std::string OnlinePlay::where() const {
    return options.viaRelay ? "room " + options.roomCode + " on " + options.netHost : options.netHost;
}

void OnlinePlay::hear(const net::SessionEvent& event) {
    using Kind = net::SessionEvent::Kind;
    if (!bCodeShown && pSession->isHost() && !pSession->roomCode().empty()) {
        // Read out to the others; a test's run reads it here.
        bCodeShown = true;
        std::printf("room %s\n", pSession->roomCode().c_str());
        std::fflush(stdout);
        refreshSeats();
    }
    switch (event.kind) {
        case Kind::Welcomed:
            claimScriptColours();
            break;
        case Kind::Closed:
            std::fprintf(stderr, "quadrill: %s\n", event.note.c_str());
            setNote(event.note.size() < 48 ? event.note : "The room is gone");
            break;
        case Kind::TurnedAway:
            std::fprintf(stderr, "quadrill: %s\n", event.note.c_str());
            setNote("A machine was turned away");
            break;
        default:
            break;
    }
}

void OnlinePlay::setNote(const std::string& note) {
    sNote = note;
    refreshSeats();
}

void OnlinePlay::refreshSeats() {
    const net::Lobby& lobby = pSession->lobby();
    const int me = pSession->machine();
    for (int colour = 0; colour < 4; ++colour) {
        const std::uint8_t owner = lobby.owners[colour];
        lobbySeats.taken[colour] = owner != net::kNobody && owner != me;
        lobbySeats.mark[colour].clear();
        if (!lobbySeats.taken[colour]) continue;
        // Machines are numbered for people from 1, the host first.
        lobbySeats.mark[colour] = "#" + std::to_string(owner + 1) + "  " +
                                  (owner == 0 ? std::string("host") : std::to_string(lobby.roundTripMs[owner]) + " ms");
    }
    std::vector<std::string>& lines = lobbySeats.status;
    lines.clear();
    if (!sNote.empty()) lines.push_back(sNote);
    if (!pSession->problem().empty()) {
        lines.push_back("Offline now");
        return;
    }
    int playing = 0;
    for (int m = 0; m < net::kMaxPlayingMachines; ++m) playing += (lobby.present >> m) & 1;
    const std::string room = std::to_string(playing) + " playing, " + std::to_string(lobby.spectators) + " watching";
    // A few short lines: they stand beside the table of best results.
    std::vector<std::string> router;
    if (pSession->isHost() && options.viaRelay) {
        const std::string& code = pSession->roomCode();
        lines.push_back(code.empty() ? "Opening a room" : "Room code " + code);
        lines.push_back("on " + options.netHost);
        lines.push_back(room);
    } else if (pSession->isHost()) {
        router = portMappingLines();
        // The router's lines name the port themselves.
        if (router.empty() || mappingShown.state == net::PortMapping::State::Asking) {
            lines.push_back("Hosting on port " + std::to_string(options.netPort));
        }
        lines.push_back(room);
        lines.insert(lines.end(), router.begin(), router.end());
    } else if (me < 0) {
        lines.push_back("Reaching");
        lines.push_back(where() + "...");
    } else {
        lines.push_back(pSession->isSpectator() ? "Watching" : "Machine #" + std::to_string(me + 1));
        lines.push_back(options.viaRelay ? "room " + options.roomCode : "at " + options.netHost);
        lines.push_back(room);
        lines.push_back(lobby.matchRunning ? "A match is on" : "The host starts");
    }
}

void OnlinePlay::claimsFrom(const Menu& menu) {
    std::uint8_t held[4];
    pSession->ownColours(held);
    for (int colour = 0; colour < 4; ++colour) {
        const bool wanted = menu.isChecked(0, colour);
        if (wanted != (held[colour] != 0) && pSession->mayClaim(colour)) pSession->claim(colour, wanted);
    }
}

bool OnlinePlay::claimsTo(Menu& menu) const {
    std::uint8_t ours[4];
    pSession->ownColours(ours);
    bool changed = false;
    for (int colour = 0; colour < 4; ++colour) {
        if (menu.isChecked(0, colour) != (ours[colour] != 0)) {
            menu.setPerson(colour, ours[colour] != 0);
            changed = true;
        }
    }
    return changed;
}

void OnlinePlay::claimScriptColours() {
    if (!bHasScript || bScriptClaimed || pSession->machine() < 0 || pSession->isSpectator()) return;
    bScriptClaimed = true;
    for (int colour = 0; colour < 4; ++colour) {
        if (script.seats[colour].isPerson()) pSession->claim(colour, true);
    }
}

bool OnlinePlay::scriptWantsStart() const {
    if (!bHasScript || bScriptStarted || !pSession->isHost() || (script.waitColours == 0 && script.waitSpectators == 0)) {
        return false;
    }
    const net::Lobby& lobby = pSession->lobby();
    int claimed = 0;
    for (std::uint8_t owner : lobby.owners) claimed += owner != net::kNobody ? 1 : 0;
    return !lobby.matchRunning && claimed >= script.waitColours && lobby.spectators >= script.waitSpectators;
}

void OnlinePlay::seedFromScript(MatchRandom& random) {
    // A script plays one match.
    if (!bHasScript) return;
    random.seed(script.seed);
    bScriptStarted = true;
}

int OnlinePlay::beginMatch(DisplayDevice& display, SoundDevice* sound, Surface& misc, ErrorLogger& logger,
                           std::uint32_t nowMs) {
    pMatch = std::make_unique<net::NetMatch>(*pSession, display, sound, misc, logger, matchOptions, replaysFolder());
    if (pMatch->load(nowMs)) return 1;
    pMatch.reset();
    return 0;
}

std::uint16_t OnlinePlay::keysFor(const std::uint8_t* keyState, std::uint32_t frame) const {
    std::uint8_t ours[4] = {0, 0, 0, 0};
    for (int colour = 0; colour < 4; ++colour) {
        ours[colour] = pSession->machine() >= 0 && pSession->match().owners[colour] == pSession->machine() ? 1 : 0;
    }
    if (!bHasScript) return matchKeys::pack(keyState, ours);
    return static_cast<std::uint16_t>(script.keysAt(frame) & matchKeys::peopleMask(ours));
}

void OnlinePlay::printResult(const char* how, std::uint32_t nowMs) const {
    const net::NetMatch::Result result = pMatch->result();
    std::printf("match %s after %u frames\nscores %d %d %d %d\nhash %016llx\n%s", how, result.frames,
                result.scores[0], result.scores[1], result.scores[2], result.scores[3],
                static_cast<unsigned long long>(result.hash), pMatch->figures(nowMs).c_str());
    std::fflush(stdout);
}

void OnlinePlay::endMatch(replay::MatchEnd end, const char* how, std::uint32_t nowMs) {
    if (!pMatch) return;
    pMatch->file(end);
    sLastReplay = pMatch->replayName();
    if (bHeadless) printResult(how, nowMs);
    pMatch.reset();
}

void OnlinePlay::endOutOfStep(const net::SessionEvent& event, std::uint32_t nowMs) {
    if (!pMatch) return;
    pMatch->file(replay::MatchEnd::kCutShort);
    std::uint64_t ours = 0;
    const bool known = pMatch->settledHash(event.frame, ours);
    char line[128];
    std::snprintf(line, sizeof line, "out of step after frame %u\nthis machine (#%d): %s%016llx\n", event.frame,
                  pSession->machine() + 1, known ? "" : "not known, ", static_cast<unsigned long long>(ours));
    const std::string report = std::string(line) + "as the host heard them:\n" + event.note + "replay: " +
                               pMatch->replayName() + "\n";
    const std::string name = pMatch->replayName().empty() ? "match" : pMatch->replayName();
    const std::string path = replaysFolder() + "/" + name + ".out-of-step.txt";
    std::string reason;
    if (!platform::saveFileSafely(path, report, reason)) {
        std::fprintf(stderr, "quadrill: could not write %s: %s\n", path.c_str(), reason.c_str());
    }
    std::fputs(report.c_str(), stdout);
    endMatch(replay::MatchEnd::kCutShort, "out of step", nowMs);
    setNote("The game went out of step");
}

bool OnlinePlay::checkPortMapping() {
    if (!pPortMapping) return false;
    using State = net::PortMapping::State;
    const net::PortMapping::Status now = pPortMapping->status();
    if (now.state == mappingShown.state && now.externalAddress == mappingShown.externalAddress &&
        now.externalPort == mappingShown.externalPort) {
        return false;
    }
    mappingShown = now;
    if (now.state == State::Mapped) {
        std::printf("external %s\n", joinAddress().c_str());
        std::fflush(stdout);
    } else if (now.state == State::Failed) {
        std::fprintf(stderr, "port mapping failed: %s\n", now.reason.c_str());
    }
    refreshSeats();
    return true;
}

std::vector<std::string> OnlinePlay::portMappingLines() const {
    if (!pPortMapping) return {};
    const std::string port = std::to_string(pSession->port());
    switch (mappingShown.state) {
        case net::PortMapping::State::Asking:
            return {"Asking the router to forward it"};
        case net::PortMapping::State::Mapped:
            return {"Others join with " + joinAddress(),
                    bAddressCopied ? "Copied to the clipboard" : "C or a click here copies it"};
        case net::PortMapping::State::Failed:
            return {"Forward UDP port " + port + " to this machine, or use a relay"};
        case net::PortMapping::State::Removed:
            break;
    }
    return {};
}

std::string OnlinePlay::joinAddress() const {
    if (mappingShown.state != net::PortMapping::State::Mapped) return std::string();
    // An IPv6 address takes brackets before its port, as --join reads it.
    const bool v6 = mappingShown.externalAddress.find(':') != std::string::npos;
    const std::string address = v6 ? "[" + mappingShown.externalAddress + "]" : mappingShown.externalAddress;
    return address + ":" + std::to_string(mappingShown.externalPort);
}

bool OnlinePlay::copyJoinAddress() {
    const std::string address = joinAddress();
    if (address.empty() || !platform::copyToClipboard(address)) return false;
    bAddressCopied = true;
    refreshSeats();
    return true;
}
