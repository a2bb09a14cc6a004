#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "menu/LobbySeats.h"
#include "net/NetMatch.h"
#include "net/Session.h"
#include "net/transport/PortMapping.h"
#include "replay/InputScript.h"

class DisplayDevice;
class ErrorLogger;
class Menu;
class SoundDevice;
class Surface;
class MatchRandom;

// The game in an online room, as the command line asked: hosting, joining
// or watching. It keeps the room (the session), shows it in the menu (the
// colours other machines claimed), plays the room's matches (NetMatch),
// and for tests plays keys from a script and tells how the match ended.
class OnlinePlay {
public:
    // `fingerprint`: this game's, which the room's machines must share.
    OnlinePlay(const CommandLine& options, std::uint64_t fingerprint);
    ~OnlinePlay();
    OnlinePlay(const OnlinePlay&) = delete;
    OnlinePlay& operator=(const OnlinePlay&) = delete;

    // Opens the room; false with the reason.
    bool open(std::string& error);
    // The room as the command line asks, open; null, told on stderr, when
    // it cannot be opened.
    static std::unique_ptr<OnlinePlay> open(const CommandLine& options, std::uint64_t fingerprint);
    // "Quadrill - hosting on port 28250", "Quadrill - joined 192.0.2.5".
    std::string title() const;

    net::Session& session() { return *pSession; }
    bool isHost() const { return pSession->isHost(); }
    // The run ends after one match (a test's headless run), once this
    // machine leaves nobody short of what they need from it.
    bool endsAfterMatch() const { return bHeadless; }
    bool mayGoNow(std::uint32_t nowMs);
    // A match has ended here: a headless run goes once it may.
    void leaveAfterMatch() { bLeaving = bLeaving || bHeadless; }
    bool isLeaving() const { return bLeaving; }

    // The lobby as the menu shows it, brought up to date from the room.
    const LobbySeats& seats() const { return lobbySeats; }
    void refreshSeats();
    // The menu's Player boxes made the room's claims, and back: a box
    // ticked here claims its colour, one the room gave to another machine
    // is unticked. True when the menu changed.
    void claimsFrom(const Menu& menu);
    bool claimsTo(Menu& menu) const;
    bool hasScript() const { return bHasScript; }
    // The script's colours, claimed once the room has taken this machine in.
    void claimScriptColours();
    // The host's script waits for its colours and spectators to start.
    bool scriptWantsStart() const;
    // The host seeds the match from its script, when it has one.
    void seedFromScript(MatchRandom& random);

    // The room's match on this machine, null between matches.
    net::NetMatch* match() { return pMatch.get(); }
    int beginMatch(DisplayDevice& display, SoundDevice* sound, Surface& misc, ErrorLogger& logger,
                   std::uint32_t nowMs);
    // This machine's keys (matchKeys bits, Escape too) held as `frame` is
    // about to run: the key state's, or the script's for that frame.
    std::uint16_t keysFor(const std::uint8_t* keyState, std::uint32_t frame) const;
    // The match is over here: filed, told, and gone. `how` says how it ended
    // for the closing words of a headless run.
    void endMatch(replay::MatchEnd end, const char* how, std::uint32_t nowMs);
    // The name the last match's replay was filed under; empty when it was not.
    const std::string& lastReplay() const { return sLastReplay; }
    // Out of step: the replay and a note of the hashes for a bug report.
    void endOutOfStep(const net::SessionEvent& event, std::uint32_t nowMs);
    // What the room says that is the room's alone, whatever scene is
    // shown: a script's colours claimed once welcomed, a closed room or a
    // machine turned away told on stderr and in the menu's note.
    void hear(const net::SessionEvent& event);
    // A line for the menu after a match ended other than by itself.
    void setNote(const std::string& note);

    // The home router's answer about the host's port, looked at without
    // waiting: true when the room's lines change with it. The answer is
    // also printed, `external ADDRESS:PORT` on stdout or `port mapping
    // failed: REASON` on stderr, for scripts.
    bool checkPortMapping();
    // "203.0.113.7:28250" once the router forwards the port; else empty.
    std::string joinAddress() const;
    // Puts joinAddress() on the clipboard; true when it is there.
    bool copyJoinAddress();

private:
    // The host, or the room and its relay, that a guest came to.
    std::string where() const;
    void printResult(const char* how, std::uint32_t nowMs) const;
    // The router's part of the host's lines; empty when it was not asked.
    std::vector<std::string> portMappingLines() const;

    CommandLine options;
    std::unique_ptr<net::Session> pSession;
    LobbySeats lobbySeats;
    std::string sNote;
    bool bHeadless = false;
    bool bLeaving = false;
    bool bGoing = false;
    std::uint32_t dwGoingSince = 0;
    bool bHasScript = false;
    InputScript script;
    bool bScriptClaimed = false;
    bool bScriptStarted = false;
    bool bCodeShown = false;
    net::NetMatch::Options matchOptions;
    std::unique_ptr<net::NetMatch> pMatch;
    std::string sLastReplay;
    // The router forwards the host's port while this lasts.
    std::unique_ptr<net::PortMapping> pPortMapping;
    net::PortMapping::Status mappingShown;
    bool bAddressCopied = false;
};
