// Memory for the buffers of one search run, cut from a few big allocations
// (allocateBig) and given back all at once when the arena goes. The blocks'
// bytes and matches of every thread then share a few huge pages where each
// would otherwise fault in pages of its own: a helper thread's buffers and
// match lists would cost it a hundred faults, more than the blocks it takes
// over on a short search.
#pragma once

#include <cstddef>
#include <memory_resource>
#include <mutex>
#include <vector>

namespace kx {

// A memory resource that never reuses what is given back before it goes
// itself, so it suits buffers that are made once and grow rarely. Safe to use
// from several threads at once.
class BigArena : public std::pmr::memory_resource {
 public:
  BigArena() = default;
  ~BigArena() override;
  BigArena(const BigArena&) = delete;
  BigArena& operator=(const BigArena&) = delete;

  // The size of the allocations that small requests are cut from; a request
  // of more than a quarter of it gets an allocation of its own.
  static constexpr std::size_t kChunk = 2 << 20;

 private:
  void* do_allocate(std::size_t bytes, std::size_t alignment) override;
  void do_deallocate(void*, std::size_t, std::size_t) override {}
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }

  std::mutex mutex_;
  std::vector<char*> allocations_;
  char* next_ = nullptr;
  std::size_t left_ = 0;  // bytes from next_ to the end of the current chunk
};

// allocateBig and releaseBig as a memory resource: each piece is an
// allocation of its own, given back when deallocated.
std::pmr::memory_resource* bigMemory();

}  // namespace kx
