#pragma once
#include <string>

// A fresh empty directory that is the working directory while the object
// lives, so tests that write Quadrill.dat or logError.txt never meet each
// other's files. The old working directory comes back at the end.
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

private:
    std::string directory;
    std::string previous;
};
