// Reads, deciphers and scans the blocks of a letter file on several threads
// at once and hands them on in file order on the calling thread, so that the
// matches reach the sink exactly as a single thread would hand them on.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/big_arena.h"
#include "search/run/file_blocks.h"
#include "search/scan/block_scanner.h"

namespace kx {

class BlockPipeline {
 public:
  // What the calling thread does with the blocks, in file order.
  class Consumer {
   public:
    virtual ~Consumer() = default;
    // Takes the next block: its lines and the scanner's matches in them
    // (none without a scanner). The views are valid during the call only.
    // Returns false to stop the file.
    virtual bool handOn(std::string_view lines, const BlockMatches& matches) = 0;
    // Called about every 10 ms while the next block is not ready yet.
    // Returns false to stop the file.
    virtual bool waiting() = 0;
  };

  // threads is the number of threads that read and scan blocks, the calling
  // one included (1: the caller alone; below 1: every core). The caller
  // starts alone; the others start once the work still ahead comes to
  // minSharedWork or more (at once when it is 0), reckoned from the processor
  // time per byte so far and the runBytes that the pipeline is to read in
  // all, and join only files of kMinBlocksForHelpers blocks or more. scanner,
  // when given, runs on every block before it is handed on, told the number
  // of threads as its workers (the caller is worker 0); it must outlive the
  // pipeline.
  BlockPipeline(int threads, BlockScanner* scanner, std::size_t blockSize, std::uint64_t runBytes,
                std::chrono::microseconds minSharedWork = kMinSharedWork);
  ~BlockPipeline();
  BlockPipeline(const BlockPipeline&) = delete;
  BlockPipeline& operator=(const BlockPipeline&) = delete;

  // Hands every block of file to consumer in order. Returns false when the
  // consumer stopped it or a read error ended the file early; either way no
  // block is handed on afterwards and no thread still reads file.
  bool run(const LetterFile& file, Consumer& consumer);

  // The number of threads it works with at most, the caller included.
  int threads() const { return threads_; }

  // The number of threads that "every core" stands for.
  static int allCores();

  // Short searches and files of few blocks are done by the caller alone:
  // starting and waking other threads, and waiting for one that the system
  // has put aside on a busy machine, cost about a millisecond (the helpers'
  // buffers come from the run's arena, so they no longer fault in pages of
  // their own). The work ahead is reckoned in processor time rather than
  // wall time, so that a busy machine does not make it look larger.
  static constexpr std::chrono::microseconds kMinSharedWork{3000};
  static constexpr std::uint64_t kMinBlocksForHelpers = 8;

 private:
  struct Slot;

  bool canClaim() const;
  // Claims block next_ and returns the slot it is read into.
  Slot* claim();
  // Gives the slot of block k back.
  void release(std::uint64_t k);
  // Counts a block of bytes that the caller read and scanned alone and
  // decides whether the helpers are due; called with the lock held.
  void noteCallerBlock(std::size_t bytes);
  // Starts the helpers when they are due and the file is theirs to share;
  // called with the lock held.
  void startHelpersWhenDue();
  void helperLoop(int worker);
  // Reads and scans the claimed block of slot as worker; called without the lock.
  void process(Slot& slot, CipherFile::Cursor& cursor, int worker);

  BigArena memory_;  // the slots' buffers and match lists; declared first, so it goes last
  BlockScanner* const scanner_;
  const std::size_t blockSize_;
  const int threads_;
  const std::uint64_t runBytes_;
  const std::clock_t minSharedTicks_;
  bool helpersDue_;
  // The caller's own work while it is alone, measured from the end of its
  // first block, which pays for cold memory and caches.
  std::uint64_t callerBytes_ = 0;
  std::uint64_t measuredFromBytes_ = 0;
  std::clock_t measuredFrom_ = -1;
  // A block's slot holds its bytes and matches from its claim until it is
  // handed on. Slots are taken back most recent first and made only when
  // none is spare, so a caller working alone keeps using one: fresh memory
  // costs a page fault for every page the first time it is written.
  std::vector<std::unique_ptr<Slot>> slots_;
  std::vector<Slot*> spare_;
  std::vector<Slot*> ring_;  // the slot of block k is ring_[k % size] while it is claimed
  std::vector<std::thread> helpers_;  // started when due (see startHelpersWhenDue)
  CipherFile::Cursor callerCursor_;

  std::mutex mutex_;
  std::condition_variable workReady_;   // a block may be claimed, or quit_
  std::condition_variable blockDone_;   // a block was read and scanned
  const LetterFile* file_ = nullptr;
  std::uint64_t blocks_ = 0;    // blocks of file_ that may still be claimed
  bool shared_ = false;         // helpers may claim blocks of file_
  std::uint64_t next_ = 0;      // next block to claim
  std::uint64_t handed_ = 0;    // next block to hand on
  int inFlight_ = 0;            // claimed and not done yet
  int idleHelpers_ = 0;         // helpers waiting for workReady_
  bool callerWaiting_ = false;  // the caller waits for blockDone_
  bool quit_ = false;
};

}  // namespace kx
