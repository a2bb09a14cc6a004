#include "support/ScopedEnvironment.h"

#include <cstdlib>

ScopedEnvironment::~ScopedEnvironment() {
    for (auto it = saved.rbegin(); it != saved.rend(); ++it) {
        if (it->present) {
            setenv(it->name.c_str(), it->value.c_str(), 1);
        } else {
            unsetenv(it->name.c_str());
        }
    }
}

void ScopedEnvironment::remember(const char* name) {
    const char* value = std::getenv(name);
    saved.push_back({name, value != nullptr, value ? value : ""});
}

void ScopedEnvironment::set(const char* name, const std::string& value) {
    remember(name);
    setenv(name, value.c_str(), 1);
}

void ScopedEnvironment::unset(const char* name) {
    remember(name);
    unsetenv(name);
}
