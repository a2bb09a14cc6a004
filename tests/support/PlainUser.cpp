#include "support/PlainUser.h"

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

namespace {
constexpr uid_t kNobody = 65534;
}  // namespace

bool asPlainUser(const std::string& tree, const std::function<bool()>& action) {
    if (::geteuid() != 0) return action();
    namespace fs = std::filesystem;
    ::lchown(tree.c_str(), kNobody, kNobody);
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(tree)) {
        ::lchown(entry.path().c_str(), kNobody, kNobody);
    }
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(2);
        ::_exit(action() ? 0 : 1);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
