#pragma once
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "replay/Replay.h"

namespace replay {

// The folder of recorded matches (dataDir()/replays): every match played
// in the window is filed there under a number one past the last filed and
// its date and time, the last 50 by number are kept, and those whose result entered the table of best results are kept
// for good. An index beside them, kept-for-good.txt, names each of those
// and the table row its result stands in now (1 to 3; 0 once later results
// have pushed it out of the table), one "NAME ROW SCORE" a line.
class ReplayArchive {
public:
    static constexpr std::size_t kKeptRecent = 50;
    static constexpr const char* kIndexName = "kept-for-good.txt";

    explicit ReplayArchive(std::string folder);

    // Writes the replay carefully under a new name of its number and local
    // time (000042_2026-12-09_21-05-17.qrpl), claimed so that two games
    // filing at once never share it, and lets the oldest go beyond the last
    // 50 that are not kept for good (never the one just stored). False with
    // the reason when it could not be written.
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
    // The replays in the order they were filed, oldest first.
    std::vector<std::string> recent() const;
    const std::string& folder() const { return sFolder; }

private:
    void letOldestGo(const std::string& justStored);
    bool writeIndex(const std::vector<Kept>& kept, std::string& reason);

    std::string sFolder;
};

}  // namespace replay
