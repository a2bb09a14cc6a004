#include "support/FailingAllocator.h"

#include <cstdlib>
#include <new>

#include "app/OutOfMemory.h"

namespace {
bool g_counting = false;
long g_count = 0;
long g_failAt = 0;
std::size_t g_failSize = 0;
bool g_fired = false;

bool shouldFail(std::size_t size) {
    if (!g_counting) return false;
    ++g_count;
    if ((g_failAt > 0 && g_count == g_failAt) || (g_failSize > 0 && size == g_failSize)) {
        g_failAt = 0;
        g_failSize = 0;
        g_fired = true;
        return true;
    }
    return false;
}
}  // namespace

namespace failingAllocator {

void failAfter(long nth) {
    g_fired = false;
    g_count = 0;
    g_failAt = nth;
    g_failSize = 0;
    g_counting = true;
}

void failSize(std::size_t bytes) {
    g_fired = false;
    g_count = 0;
    g_failAt = 0;
    g_failSize = bytes;
    g_counting = true;
}

long counted() { return g_count; }
bool fired() { return g_fired; }

void stop() {
    g_counting = false;
    g_failAt = 0;
    g_failSize = 0;
}

}  // namespace failingAllocator

void* operator new(std::size_t size) {
    if (shouldFail(size)) reportOutOfMemory(size);
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
