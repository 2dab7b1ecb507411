// Memory for the large buffers a search reads into. Fresh memory costs a page
// fault for every page the first time it is written, and page faults are dear
// (tens of microseconds each on some virtual machines); on Linux such a
// buffer is placed in transparent huge pages, one fault for 2 MiB instead of
// one for every 4 KiB.
#pragma once

#include <cstddef>

namespace kx {

// At least *n bytes, left unset; *n becomes the size actually reserved.
// Throws std::bad_alloc when there is no memory.
char* allocateBig(std::size_t* n);

// Gives back what allocateBig returned (null is fine).
void releaseBig(char* p);

}  // namespace kx
