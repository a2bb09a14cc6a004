#pragma once
#include <string>
#include <vector>

#include "support/ScopedEnvironment.h"

// A fresh empty directory that is the working directory while the object
// lives, so tests that write Quadrill.dat or logError.txt never meet each
// other's files. It is also the game's data and settings folder
// (QUADRILL_DATA_DIR, QUADRILL_CONFIG_DIR), so no test writes into the real
// home. The old working directory and variables come back at the end.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::string& path() const { return directory; }
    // The bytes of a file in it, empty when there is none.
    std::string read(const char* name) const;
    bool exists(const char* name) const;
    void write(const char* name, const std::string& bytes) const;
    // The names in a folder of it ("" for itself), sorted: a test sees that
    // nothing was left behind.
    std::vector<std::string> names(const std::string& folder = "") const;

private:
    std::string directory;
    std::string previous;
    ScopedEnvironment environment;
};
