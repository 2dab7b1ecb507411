#include "search/run/block_pipeline.h"

#include <chrono>

namespace kx {

struct BlockPipeline::Slot {
  BlockBuffer buf;
  std::string_view lines;
  BlockMatches matches;
  bool failed = false;
  bool ready = false;
};

int BlockPipeline::allCores() {
  const unsigned n = std::thread::hardware_concurrency();
  return n == 0 ? 1 : static_cast<int>(n);
}

BlockPipeline::BlockPipeline(int threads, BlockScanner* scanner, std::size_t blockSize)
    : scanner_(scanner), blockSize_(blockSize), threads_(threads < 1 ? allCores() : threads) {
  if (scanner_) scanner_->setWorkers(threads_);
  // Two blocks a thread keep every thread busy while the caller hands on, and
  // bound the memory whatever the file's size.
  for (int i = 0; i < 2 * threads_; ++i) slots_.push_back(std::make_unique<Slot>());
}

BlockPipeline::~BlockPipeline() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    quit_ = true;
  }
  workReady_.notify_all();
  for (std::thread& t : helpers_) t.join();
}

bool BlockPipeline::canClaim() const { return next_ < blocks_ && next_ < handed_ + slots_.size(); }

void BlockPipeline::process(std::uint64_t k, CipherFile::Cursor& cursor, int worker) {
  Slot& slot = *slots_[k % slots_.size()];
  slot.lines = readBlock(*file_, k, blockSize_, cursor, slot.buf, &slot.failed);
  slot.matches.clear();
  if (scanner_) scanner_->scan(slot.lines, slot.matches, worker);
}

void BlockPipeline::helperLoop(int worker) {
  CipherFile::Cursor cursor;
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    ++idleHelpers_;
    workReady_.wait(lock, [this] { return quit_ || (shared_ && canClaim()); });
    --idleHelpers_;
    if (quit_) return;
    const std::uint64_t k = next_++;
    ++inFlight_;
    lock.unlock();
    process(k, cursor, worker);
    lock.lock();
    slots_[k % slots_.size()]->ready = true;
    --inFlight_;
    // Waking the caller costs a system call; only when it waits.
    if (callerWaiting_) blockDone_.notify_one();
  }
}

bool BlockPipeline::run(const LetterFile& file, Consumer& consumer) {
  const std::uint64_t count = blockCount(file.length(), blockSize_);
  const bool shared = count >= kMinBlocksForHelpers;
  if (shared && helpers_.empty()) {
    for (int i = 1; i < threads_; ++i) helpers_.emplace_back([this, i] { helperLoop(i); });
  }
  std::unique_lock<std::mutex> lock(mutex_);
  file_ = &file;
  next_ = handed_ = 0;
  blocks_ = count;
  shared_ = shared;
  for (auto& slot : slots_) slot->ready = false;
  if (shared_ && idleHelpers_ > 0) workReady_.notify_all();
  bool going = true;
  while (going && handed_ < count) {
    Slot& slot = *slots_[handed_ % slots_.size()];
    if (slot.ready) {
      lock.unlock();
      going = consumer.handOn(slot.lines, slot.matches) && !slot.failed;
      lock.lock();
      slot.ready = false;
      ++handed_;
      // A slot came free: one idle helper can claim the block that goes in it.
      if (shared_ && idleHelpers_ > 0 && canClaim()) workReady_.notify_one();
    } else if (canClaim()) {
      // The caller reads and scans too rather than wait.
      const std::uint64_t k = next_++;
      ++inFlight_;
      lock.unlock();
      process(k, callerCursor_, 0);
      lock.lock();
      slots_[k % slots_.size()]->ready = true;
      --inFlight_;
    } else {
      callerWaiting_ = true;
      const bool ready = blockDone_.wait_for(lock, std::chrono::milliseconds(10), [&] { return slot.ready; });
      callerWaiting_ = false;
      if (!ready) {
        lock.unlock();
        going = consumer.waiting();
        lock.lock();
      }
    }
  }
  // No new claims; blocks in flight finish before file may go away.
  blocks_ = 0;
  callerWaiting_ = true;
  blockDone_.wait(lock, [this] { return inFlight_ == 0; });
  callerWaiting_ = false;
  file_ = nullptr;
  return going;
}

}  // namespace kx
