#include "support/ScratchDirectory.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

ScratchDirectory::ScratchDirectory() {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd) != nullptr) previous = cwd;
    std::string pattern = (std::filesystem::temp_directory_path() / "quadrill-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no scratch directory");
    directory = pattern;
    if (chdir(directory.c_str()) != 0) throw std::runtime_error("cannot enter scratch directory");
}

ScratchDirectory::~ScratchDirectory() {
    if (!previous.empty() && chdir(previous.c_str()) != 0) {
        // Nothing sensible to do in a destructor; the next test makes its own.
    }
    std::error_code ignored;
    std::filesystem::permissions(directory, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(directory, ignored);
}

std::string ScratchDirectory::read(const char* name) const {
    std::ifstream in(directory + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool ScratchDirectory::exists(const char* name) const {
    return std::filesystem::exists(directory + "/" + name);
}

void ScratchDirectory::write(const char* name, const std::string& bytes) const {
    std::ofstream out(directory + "/" + name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
