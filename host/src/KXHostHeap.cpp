#include "KXHostHeap.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

#if defined(__GLIBC__)
constexpr int kHeapStep = 64 << 20;               // what each growth of the heap adds beyond the request
constexpr std::uintptr_t kHugePage = 2u << 20;    // the kernel's huge page on x86-64 and arm64
constexpr std::size_t kNudge = 64u << 10;         // below the allocator's mmap threshold: served by the heap
constexpr std::size_t kMostNudges = 8;            // the heap's first step is at most this many nudges away

char* Break() { return static_cast<char*>(sbrk(0)); }

// Grows the heap now (a few small blocks past its top, given back at once) so that the step exists to
// be advised; answers the break before the growth, or null when the heap did not grow.
char* GrowHeap()
{
    char* const before = Break();
    std::array<void*, kMostNudges> nudges{};
    std::size_t taken = 0;
    while (taken < kMostNudges && Break() == before)
        nudges[taken++] = std::malloc(kNudge);
    for (std::size_t i = 0; i < taken; ++i)
        std::free(nudges[i]);
    return Break() > before ? before : nullptr;
}
#endif

} // namespace

bool KXPrepareHostHeap()
{
#if defined(__GLIBC__)
    // mallopt answers 1 when the C library's allocator took the setting; a sanitizer's answers 0.
    if (mallopt(M_TOP_PAD, kHeapStep) != 1)
        return false;
    char* const before = GrowHeap();
    if (!before)
        return false;
    const auto from = (reinterpret_cast<std::uintptr_t>(before) + kHugePage - 1) & ~(kHugePage - 1);
    const auto to = reinterpret_cast<std::uintptr_t>(Break()) & ~(kHugePage - 1);
    return to > from && madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE) == 0;
#else
    return false;
#endif
}
