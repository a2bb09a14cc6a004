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

constexpr char kDateStem[] = "dddd-dd-dd_dd-dd-dd";
constexpr std::size_t kDateLength = sizeof kDateStem - 1;
constexpr std::size_t kExtensionLength = sizeof kExtension - 1;
// Numbers past this many digits are no number the archive gave.
constexpr std::size_t kLongestNumber = 18;
constexpr int kNameAttempts = 100;

bool allDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isDateStem(const std::string& text) {
    if (text.size() != kDateLength) return false;
    for (std::size_t i = 0; i < kDateLength; ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kDateStem[i] == 'd' ? !digit : text[i] != kDateStem[i]) return false;
    }
    return true;
}

// A name the archive gave, taken apart. Today's are the number the match
// was filed under and its local date and time: 000042_2026-12-09_21-05-17.qrpl.
// Older versions gave the date and time alone, with -2, -3 ... after it when
// several matches ended in the same second; those came first, number 0.
struct FiledName {
    std::uint64_t number = 0;
    std::string dated;    // the date and time, and any -N after it
    unsigned long repeat = 1;
};

bool parseFiledName(const std::string& name, FiledName& parsed) {
    if (name.size() < kDateLength + kExtensionLength) return false;
    if (name.compare(name.size() - kExtensionLength, std::string::npos, kExtension) != 0) return false;
    std::string rest = name.substr(0, name.size() - kExtensionLength);
    parsed = FiledName();
    if (!isDateStem(rest.substr(0, kDateLength))) {
        const std::size_t cut = rest.find('_');
        if (cut == std::string::npos) return false;
        const std::string number = rest.substr(0, cut);
        if (!allDigits(number) || number.size() > kLongestNumber) return false;
        parsed.number = std::strtoull(number.c_str(), nullptr, 10);
        rest = rest.substr(cut + 1);
        if (!isDateStem(rest)) return false;
        parsed.dated = rest;
        return true;
    }
    parsed.dated = rest;
    const std::string after = rest.substr(kDateLength);
    if (after.empty()) return true;
    if (after[0] != '-' || !allDigits(after.substr(1)) || after.size() > 10) return false;
    parsed.repeat = std::strtoul(after.c_str() + 1, nullptr, 10);
    return true;
}

bool isFiledName(const std::string& name) {
    FiledName ignored;
    return parseFiledName(name, ignored);
}

// Filing order: by the number each was filed under, which no clock can put
// in the future; the older names by their date and time, then their -N.
bool filedBefore(const std::string& a, const std::string& b) {
    FiledName first;
    FiledName second;
    parseFiledName(a, first);
    parseFiledName(b, second);
    if (first.number != second.number) return first.number < second.number;
    const int byTime = first.dated.compare(0, kDateLength, second.dated, 0, kDateLength);
    if (byTime != 0) return byTime < 0;
    if (first.repeat != second.repeat) return first.repeat < second.repeat;
    return a < b;
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
    name.clear();
    if (!dataFolders::makeFolders(sFolder, reason)) return false;
    std::tm local{};
    localtime_r(&when, &local);
    char stem[64];
    std::snprintf(stem, sizeof stem, "%04d-%02d-%02d_%02d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    std::uint64_t number = 1;
    const std::vector<std::string> filed = recent();
    FiledName last;
    if (!filed.empty() && parseFiledName(filed.back(), last)) number = last.number + 1;
    const std::vector<std::uint8_t> written = writeReplay(replay);
    const std::string bytes(written.begin(), written.end());
    // Another game filing into the same folder may take a number first;
    // the next one is then ours.
    for (int attempt = 0; attempt < kNameAttempts; ++attempt, ++number) {
        char numbered[96];
        std::snprintf(numbered, sizeof numbered, "%06llu_%s%s", static_cast<unsigned long long>(number), stem,
                      kExtension);
        switch (platform::saveNewFileSafely(sFolder + "/" + numbered, bytes, reason)) {
            case platform::NewFileResult::Saved:
                name = numbered;
                letOldestGo(name);
                return true;
            case platform::NewFileResult::NameTaken:
                continue;
            case platform::NewFileResult::Failed:
                return false;
        }
    }
    reason = "no free name for it";
    return false;
}

void ReplayArchive::letOldestGo(const std::string& justStored) {
    const std::vector<Kept> kept = keptForGood();
    std::vector<std::string> others;
    for (const std::string& name : recent()) {
        const bool forGood =
            std::any_of(kept.begin(), kept.end(), [&name](const Kept& entry) { return entry.name == name; });
        if (!forGood && name != justStored) others.push_back(name);
    }
    // The match just stored is one of the last 50 whatever the others' names say.
    for (std::size_t i = 0; i + kKeptRecent < others.size() + 1; ++i) {
        platform::removeFile((sFolder + "/" + others[i]).c_str());
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
