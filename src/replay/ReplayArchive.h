#pragma once
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "replay/Replay.h"

namespace replay {

// The folder of recorded matches (dataDir()/replays): every match played
// in the window is filed there under its date and time, the last 50 are
// kept, and those whose result entered the table of best results are kept
// for good. An index beside them, kept-for-good.txt, names each of those
// and the table row its result stands in now (1 to 3; 0 once later results
// have pushed it out of the table), one "NAME ROW SCORE" a line.
class ReplayArchive {
public:
    static constexpr std::size_t kKeptRecent = 50;
    static constexpr const char* kIndexName = "kept-for-good.txt";

    explicit ReplayArchive(std::string folder);

    // Writes the replay carefully under a name of its date and local time
    // (2026-12-09_21-05-17.qrpl) and lets the oldest go beyond the last 50
    // that are not kept for good. False with the reason when it could not
    // be written.
    bool store(const Replay& replay, std::time_t when, std::string& name, std::string& reason);
    // The replay `name`, whose result has just entered the table at `row`
    // (0 for the top), is kept for good; results below it move down a row.
    bool keepForGood(const std::string& name, int row, std::int32_t score, std::string& reason);

    struct Kept {
        std::string name;
        int row = 0;
        std::int32_t score = 0;
    };
    // The index as it stands; lines that make no sense are left out.
    std::vector<Kept> keptForGood() const;
    // The replays filed by date, oldest first.
    std::vector<std::string> recent() const;
    const std::string& folder() const { return sFolder; }

private:
    void letOldestGo();
    bool writeIndex(const std::vector<Kept>& kept, std::string& reason);

    std::string sFolder;
};

}  // namespace replay
