#include "platform/ResourceTable.h"

#include <strings.h>

#include <string>
#include <vector>

#include "platform/EmbeddedResource.h"

namespace platform {
namespace {

struct Fault {
    std::string name;
    ResourceResult result;
};

struct Override {
    std::string name;
    std::string type;
    ResourceData data;
};

std::vector<Fault>& faults() {
    static std::vector<Fault> list;
    return list;
}

std::vector<Override>& overrides() {
    static std::vector<Override> list;
    return list;
}

bool sameName(const char* a, const char* b) { return strcasecmp(a, b) == 0; }

}  // namespace

ResourceResult openResource(const char* name, const char* type, ResourceData& out) {
    out = ResourceData{};
    if (name == nullptr || type == nullptr) return ResourceResult::NotFound;
    for (const Fault& fault : faults()) {
        if (sameName(fault.name.c_str(), name)) return fault.result;
    }
    for (const Override& entry : overrides()) {
        if (sameName(entry.name.c_str(), name) && sameName(entry.type.c_str(), type)) {
            out = entry.data;
            return ResourceResult::Ok;
        }
    }
    for (std::size_t i = 0; i < kEmbeddedResourceCount; ++i) {
        const EmbeddedResource& resource = kEmbeddedResources[i];
        if (sameName(resource.name, name) && sameName(resource.type, type)) {
            out.data = resource.data;
            out.size = *resource.size;
            return ResourceResult::Ok;
        }
    }
    return ResourceResult::NotFound;
}

bool findResource(const char* name, const char* type, ResourceData& out) {
    return openResource(name, type, out) == ResourceResult::Ok;
}

namespace testing {

void setResourceFault(const char* name, ResourceResult fault) {
    std::vector<Fault>& list = faults();
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (sameName(it->name.c_str(), name)) {
            list.erase(it);
            break;
        }
    }
    if (fault != ResourceResult::Ok) list.push_back({name, fault});
}

void overrideResource(const char* name, const char* type, const unsigned char* data, std::size_t size) {
    std::vector<Override>& list = overrides();
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (sameName(it->name.c_str(), name) && sameName(it->type.c_str(), type)) {
            list.erase(it);
            break;
        }
    }
    list.push_back({name, type, ResourceData{data, size}});
}

void clearResourceFaults() {
    faults().clear();
    overrides().clear();
}

}  // namespace testing
}  // namespace platform
