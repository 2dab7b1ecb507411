// Block scanners test the keywords of a block of whole lines for one match
// mode and collect the matches, so that blocks can be scanned on several
// threads at once and their matches handed on in order afterwards.
#pragma once

#include <cstdint>
#include <memory_resource>
#include <string_view>
#include <vector>

namespace kx {

// The matches found in one block.
struct BlockMatches {
  // memory holds the lists (a run's arena, see BigArena).
  explicit BlockMatches(std::pmr::memory_resource* memory = std::pmr::get_default_resource())
      : keywords(memory), queryIds(memory), queryEnds(memory) {}

  // The matching keywords in order, as views into the block.
  std::pmr::vector<std::string_view> keywords;
  // When 0 or more: every line of the block matched and the block is already
  // in the export format (see countExportLines) with this many keywords;
  // keywords then stays empty and the block is handed on whole.
  long wholeBlock = -1;
  // Scanners of a batch of queries only: keyword i matched the queries
  // queryIds[queryEnds[i - 1] .. queryEnds[i]) (from 0 for the first), in
  // ascending order.
  std::pmr::vector<std::uint32_t> queryIds;
  std::pmr::vector<std::uint32_t> queryEnds;

  void clear() {
    keywords.clear();
    wholeBlock = -1;
    queryIds.clear();
    queryEnds.clear();
  }
};

class BlockScanner {
 public:
  virtual ~BlockScanner() = default;

  // Called before scanning with the number of threads that will scan; scan
  // then gets worker indices 0 .. workers - 1. Scanners that keep state per
  // thread set it up here; without a call there is one worker.
  virtual void setWorkers(int workers) { (void)workers; }

  // Adds the matching keywords of lines (whole lines, see forEachLine) to out
  // in order. worker is the calling thread's index (0: the run's own thread):
  // calls with different workers may run at once, calls with the same worker
  // never do.
  virtual void scan(std::string_view lines, BlockMatches& out, int worker) = 0;
};

}  // namespace kx
