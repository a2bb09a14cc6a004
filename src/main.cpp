#include <cstdlib>
#include <new>

#include "app/EntryPoint.h"
#include "app/OutOfMemory.h"

// Every allocation of the game goes through here, so that running out of
// memory can tell the player how much was asked for. The sanitizer builds
// keep their own allocator, which watches over every allocation.
#if !defined(__SANITIZE_ADDRESS__)
void* operator new(std::size_t size) {
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    reportOutOfMemory(size);
}

void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
#endif

int main(int argc, char** argv) { return runQuadrill(argc, argv); }
