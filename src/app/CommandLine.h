#pragma once
#include <cstdint>
#include <string>

// What the game was asked to do from its command line. One parser for every
// option, so --help, the manual page and the errors never disagree.
struct CommandLine {
    enum class Action {
        Play,     // open the window and play (or watch a replay, or go online)
        Help,     // print the options and end with 0
        Version,  // print the version and end with 0
        Usage,    // a bad command line: print error and usage, end with 2
    };
    enum class NetRole { None, Host, Join, Watch };

    static constexpr std::uint16_t kDefaultPort = 28250;

    Action action = Action::Play;
    std::string error;

    std::string replayPath;  // --replay FILE

    NetRole netRole = NetRole::None;  // --host [PORT], --join / --watch HOST[:PORT]
    std::string netHost;
    std::uint16_t netPort = kDefaultPort;
    bool portMapping = true;     // --no-port-mapping: the host leaves the router alone
    // --host --relay HOST[:PORT], --join / --watch CODE@HOST[:PORT]: netHost
    // and netPort name the relay, and a guest enters the room with roomCode.
    bool viaRelay = false;
    std::string roomCode;
    static constexpr std::uint16_t kDefaultRelayPort = 28251;
    int inputDelay = 1;          // --input-delay N, frames, 0 to 2
    std::string scriptPath;      // --script FILE: per-frame key bits instead of the keyboard
    std::uint64_t frameLimit = 0;  // --frames N: end after N frames; 0 for no limit
};

CommandLine parseCommandLine(int argc, const char* const* argv);

// The option list that --help prints and a bad command line follows with.
const char* commandLineUsage();
// "quadrill 1.0", the line --version prints.
const char* versionLine();
