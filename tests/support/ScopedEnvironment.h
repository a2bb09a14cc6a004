#pragma once
#include <string>
#include <vector>

// Environment variables changed for one test and put back as they were when
// the object goes, in the reverse order of the changes.
class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    void set(const char* name, const std::string& value);
    void unset(const char* name);

private:
    void remember(const char* name);

    struct Saved {
        std::string name;
        bool present;
        std::string value;
    };
    std::vector<Saved> saved;
};
