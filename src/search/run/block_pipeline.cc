#include "search/run/block_pipeline.h"

#include <chrono>

namespace kx {
namespace {

// No search reads, deciphers and scans 10 GB a second on one core, so a run
// of more bytes than that in the least shared work need not be measured.
constexpr double kFastestBytesPerMicrosecond = 10000;

}  // namespace

struct BlockPipeline::Slot {
  explicit Slot(std::pmr::memory_resource* memory) : buf(memory), matches(memory) {}

  std::uint64_t block = 0;
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

BlockPipeline::BlockPipeline(int threads, BlockScanner* scanner, std::size_t blockSize, std::uint64_t runBytes,
                             std::chrono::microseconds minSharedWork)
    : scanner_(scanner),
      blockSize_(blockSize),
      threads_(threads < 1 ? allCores() : threads),
      runBytes_(runBytes),
      minSharedTicks_(static_cast<std::clock_t>(minSharedWork.count() * CLOCKS_PER_SEC / 1000000)),
      helpersDue_(threads_ > 1 &&
                  static_cast<double>(runBytes) / kFastestBytesPerMicrosecond >= static_cast<double>(minSharedWork.count())) {
  if (scanner_) scanner_->setWorkers(threads_);
  // Two blocks a thread keep every thread busy while the caller hands on, and
  // bound the memory whatever the file's size.
  ring_.assign(2 * static_cast<std::size_t>(threads_), nullptr);
}

BlockPipeline::~BlockPipeline() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    quit_ = true;
  }
  workReady_.notify_all();
  for (std::thread& t : helpers_) t.join();
}

bool BlockPipeline::canClaim() const { return next_ < blocks_ && next_ < handed_ + ring_.size(); }

BlockPipeline::Slot* BlockPipeline::claim() {
  Slot* slot;
  if (spare_.empty()) {
    slots_.push_back(std::make_unique<Slot>(&memory_));
    slot = slots_.back().get();
  } else {
    slot = spare_.back();
    spare_.pop_back();
  }
  slot->block = next_++;
  slot->ready = false;
  ring_[slot->block % ring_.size()] = slot;
  ++inFlight_;
  return slot;
}

void BlockPipeline::release(std::uint64_t k) {
  Slot*& slot = ring_[k % ring_.size()];
  spare_.push_back(slot);
  slot = nullptr;
}

void BlockPipeline::noteCallerBlock(std::size_t bytes) {
  if (helpersDue_ || threads_ < 2) return;
  const std::clock_t now = std::clock();
  callerBytes_ += bytes;
  if (measuredFrom_ < 0) {
    measuredFrom_ = now;
    measuredFromBytes_ = callerBytes_;
    return;
  }
  const std::uint64_t measured = callerBytes_ - measuredFromBytes_;
  if (measured == 0 || callerBytes_ >= runBytes_) return;
  const double ahead = static_cast<double>(now - measuredFrom_) / static_cast<double>(measured) *
                       static_cast<double>(runBytes_ - callerBytes_);
  helpersDue_ = ahead >= static_cast<double>(minSharedTicks_);
}

void BlockPipeline::startHelpersWhenDue() {
  if (!helpersDue_ || !shared_ || !helpers_.empty()) return;
  for (int i = 1; i < threads_; ++i) helpers_.emplace_back([this, i] { helperLoop(i); });
}

void BlockPipeline::process(Slot& slot, CipherFile::Cursor& cursor, int worker) {
  slot.lines = readBlock(*file_, slot.block, blockSize_, cursor, slot.buf, &slot.failed);
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
    Slot* slot = claim();
    lock.unlock();
    process(*slot, cursor, worker);
    lock.lock();
    slot->ready = true;
    --inFlight_;
    // Waking the caller costs a system call; only when it waits.
    if (callerWaiting_) blockDone_.notify_one();
  }
}

bool BlockPipeline::run(const LetterFile& file, Consumer& consumer) {
  const std::uint64_t count = blockCount(file.length(), blockSize_);
  std::unique_lock<std::mutex> lock(mutex_);
  file_ = &file;
  next_ = handed_ = 0;
  blocks_ = count;
  shared_ = count >= kMinBlocksForHelpers;
  startHelpersWhenDue();
  if (shared_ && idleHelpers_ > 0) workReady_.notify_all();
  bool going = true;
  auto nextReady = [this] {
    const Slot* slot = ring_[handed_ % ring_.size()];
    return slot && slot->ready;
  };
  while (going && handed_ < count) {
    if (nextReady()) {
      const Slot& slot = *ring_[handed_ % ring_.size()];
      lock.unlock();
      going = consumer.handOn(slot.lines, slot.matches) && !slot.failed;
      lock.lock();
      release(handed_++);
      // A slot came free: one idle helper can claim the block that goes in it.
      if (shared_ && idleHelpers_ > 0 && canClaim()) workReady_.notify_one();
    } else if (canClaim()) {
      // The caller reads and scans too rather than wait.
      Slot* slot = claim();
      lock.unlock();
      process(*slot, callerCursor_, 0);
      lock.lock();
      slot->ready = true;
      --inFlight_;
      noteCallerBlock(slot->lines.size());
      startHelpersWhenDue();
    } else {
      callerWaiting_ = true;
      const bool ready = blockDone_.wait_for(lock, std::chrono::milliseconds(10), nextReady);
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
  for (; handed_ < next_; ++handed_) release(handed_);
  file_ = nullptr;
  return going;
}

}  // namespace kx
