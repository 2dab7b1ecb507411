#include <sys/mman.h>

#include <cstdlib>
#include <new>

#include "platform/big_memory.h"

namespace kx {

char* allocateBig(std::size_t* n) {
#ifdef MADV_HUGEPAGE
  constexpr std::size_t kHugePage = 2 << 20;
  if (*n >= kHugePage / 8) {  // a smaller buffer would waste most of the page
    const std::size_t size = (*n + kHugePage - 1) / kHugePage * kHugePage;
    if (void* p = std::aligned_alloc(kHugePage, size)) {
      ::madvise(p, size, MADV_HUGEPAGE);  // advice only: without it the pages are small
      *n = size;
      return static_cast<char*>(p);
    }
  }
#endif
  void* p = std::malloc(*n);
  if (!p) throw std::bad_alloc();
  return static_cast<char*>(p);
}

void releaseBig(char* p) { std::free(p); }

}  // namespace kx
