#include "platform/big_arena.h"

#include <cstdint>

#include "platform/big_memory.h"

namespace kx {

BigArena::~BigArena() {
  for (char* p : allocations_) releaseBig(p);
}

void* BigArena::do_allocate(std::size_t bytes, std::size_t alignment) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (bytes > kChunk / 4) {
    // A piece this big would leave most of a chunk unused.
    std::size_t n = bytes;
    allocations_.reserve(allocations_.size() + 1);
    allocations_.push_back(allocateBig(&n));
    return allocations_.back();
  }
  auto pad = [&] { return (alignment - reinterpret_cast<std::uintptr_t>(next_) % alignment) % alignment; };
  if (!next_ || pad() + bytes > left_) {
    std::size_t n = kChunk;
    allocations_.reserve(allocations_.size() + 1);
    allocations_.push_back(allocateBig(&n));
    next_ = allocations_.back();
    left_ = n;
  }
  const std::size_t skip = pad();
  char* p = next_ + skip;
  next_ = p + bytes;
  left_ -= skip + bytes;
  return p;
}

namespace {

class BigMemory : public std::pmr::memory_resource {
  void* do_allocate(std::size_t bytes, std::size_t) override { return allocateBig(&bytes); }
  void do_deallocate(void* p, std::size_t, std::size_t) override { releaseBig(static_cast<char*>(p)); }
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }
};

}  // namespace

std::pmr::memory_resource* bigMemory() {
  static BigMemory memory;
  return &memory;
}

}  // namespace kx
