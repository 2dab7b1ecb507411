#include <cstdlib>
#include <new>

#include "platform/big_memory.h"

namespace kx {

// Large pages on Windows need a privilege that users do not hold.
char* allocateBig(std::size_t* n) {
  void* p = std::malloc(*n);
  if (!p) throw std::bad_alloc();
  return static_cast<char*>(p);
}

void releaseBig(char* p) { std::free(p); }

}  // namespace kx
