#include "support/ScratchDirectory.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <algorithm>
#include <iterator>
#include <stdexcept>

ScratchDirectory::ScratchDirectory() {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd) != nullptr) previous = cwd;
    std::string pattern = (std::filesystem::temp_directory_path() / "quadrill-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no scratch directory");
    directory = pattern;
    if (chdir(directory.c_str()) != 0) throw std::runtime_error("cannot enter scratch directory");
    environment.set("QUADRILL_DATA_DIR", directory);
    environment.set("QUADRILL_CONFIG_DIR", directory);
}

ScratchDirectory::~ScratchDirectory() {
    if (!previous.empty() && chdir(previous.c_str()) != 0) {
        // Nothing sensible to do in a destructor; the next test makes its own.
    }
    // A test may have locked folders inside; open them up on the way down
    // so that everything can be removed.
    namespace fs = std::filesystem;
    std::error_code ignored;
    fs::permissions(directory, fs::perms::owner_all, ignored);
    std::error_code walking;
    for (fs::recursive_directory_iterator it(directory, walking), end; !walking && it != end; it.increment(walking)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_all, ignored);
        }
    }
    fs::remove_all(directory, ignored);
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

std::vector<std::string> ScratchDirectory::names(const std::string& folder) const {
    std::vector<std::string> found;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(directory + "/" + folder, ignored)) {
        found.push_back(entry.path().filename().string());
    }
    std::sort(found.begin(), found.end());
    return found;
}
