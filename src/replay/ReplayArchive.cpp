#include "replay/ReplayArchive.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/File.h"
#include "platform/SafeSave.h"
#include "replay/ReplayWriter.h"
#include "settings/DataFolders.h"

namespace replay {
namespace {

constexpr char kExtension[] = ".qrpl";
// The table has three rows; a result pushed below them is out of it.
constexpr int kTableRows = 3;

// Names the archive gave: 2026-12-09_21-05-17.qrpl, or with -2, -3 ...
// after it when several matches ended in the same second.
bool isFiledName(const std::string& name) {
    static const char pattern[] = "dddd-dd-dd_dd-dd-dd";
    const std::size_t stem = sizeof pattern - 1;
    if (name.size() < stem + sizeof kExtension - 1) return false;
    if (name.compare(name.size() - (sizeof kExtension - 1), std::string::npos, kExtension) != 0) return false;
    for (std::size_t i = 0; i < stem; ++i) {
        const bool digit = name[i] >= '0' && name[i] <= '9';
        if (pattern[i] == 'd' ? !digit : name[i] != pattern[i]) return false;
    }
    const std::string rest = name.substr(stem, name.size() - stem - (sizeof kExtension - 1));
    if (rest.empty()) return true;
    if (rest.size() < 2 || rest[0] != '-') return false;
    return std::all_of(rest.begin() + 1, rest.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Filing order: by date and time, then by the number after it (none first).
bool filedBefore(const std::string& a, const std::string& b) {
    const std::size_t stem = sizeof "dddd-dd-dd_dd-dd-dd" - 1;
    const int byTime = a.compare(0, stem, b, 0, stem);
    if (byTime != 0) return byTime < 0;
    auto number = [stem](const std::string& name) {
        return name.size() > stem && name[stem] == '-' ? std::strtoul(name.c_str() + stem + 1, nullptr, 10) : 1ul;
    };
    return number(a) < number(b);
}

bool exists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

}  // namespace

ReplayArchive::ReplayArchive(std::string folder) : sFolder(std::move(folder)) {}

std::vector<std::string> ReplayArchive::recent() const {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(sFolder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (isFiledName(name) && entry->is_regular_file(error)) names.push_back(name);
    }
    std::sort(names.begin(), names.end(), filedBefore);
    return names;
}

std::vector<ReplayArchive::Kept> ReplayArchive::keptForGood() const {
    std::vector<Kept> kept;
    std::ifstream in(sFolder + "/" + kIndexName);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        Kept entry;
        std::string extra;
        if (!(words >> entry.name >> entry.row >> entry.score) || (words >> extra)) continue;
        if (!isFiledName(entry.name) || entry.row < 0 || entry.row > kTableRows) continue;
        kept.push_back(entry);
    }
    return kept;
}

bool ReplayArchive::writeIndex(const std::vector<Kept>& kept, std::string& reason) {
    std::string text;
    for (const Kept& entry : kept) {
        text += entry.name + " " + std::to_string(entry.row) + " " + std::to_string(entry.score) + "\n";
    }
    return platform::saveFileSafely(sFolder + "/" + kIndexName, text, reason);
}

bool ReplayArchive::store(const Replay& replay, std::time_t when, std::string& name, std::string& reason) {
    if (!dataFolders::makeFolders(sFolder, reason)) return false;
    std::tm local{};
    localtime_r(&when, &local);
    char stem[64];
    std::snprintf(stem, sizeof stem, "%04d-%02d-%02d_%02d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    name = std::string(stem) + kExtension;
    for (int n = 2; exists(sFolder + "/" + name); ++n) name = std::string(stem) + "-" + std::to_string(n) + kExtension;
    const std::vector<std::uint8_t> bytes = writeReplay(replay);
    if (!platform::saveFileSafely(sFolder + "/" + name, std::string(bytes.begin(), bytes.end()), reason)) {
        return false;
    }
    letOldestGo();
    return true;
}

void ReplayArchive::letOldestGo() {
    const std::vector<Kept> kept = keptForGood();
    std::vector<std::string> candidates;
    for (const std::string& name : recent()) {
        const bool forGood =
            std::any_of(kept.begin(), kept.end(), [&name](const Kept& entry) { return entry.name == name; });
        if (!forGood) candidates.push_back(name);
    }
    for (std::size_t i = 0; i + kKeptRecent < candidates.size(); ++i) {
        platform::removeFile((sFolder + "/" + candidates[i]).c_str());
    }
}

bool ReplayArchive::keepForGood(const std::string& name, int row, std::int32_t score, std::string& reason) {
    std::vector<Kept> kept = keptForGood();
    // The new result takes its row; the ones at it and below move down.
    for (Kept& entry : kept) {
        if (entry.row > row) {
            entry.row = entry.row + 1 > kTableRows ? 0 : entry.row + 1;
        }
    }
    kept.push_back(Kept{name, row + 1, score});
    return writeIndex(kept, reason);
}

}  // namespace replay
