// Where the matches of a search run go. The driver knows nothing else of them.
#pragma once

#include <string_view>

namespace kx {

class ResultSink {
 public:
  virtual ~ResultSink() = default;

  // Takes one match: the keyword's bytes as read (GBK, without line end). The
  // view is only valid during the call.
  virtual void add(std::string_view keyword) = 0;

  // Takes count matches at once: lines holds each keyword followed by CR LF.
  // Sinks that store that format anyway take the block whole; the rest see
  // one add per keyword.
  virtual void addLines(std::string_view lines, long count);
};

}  // namespace kx
