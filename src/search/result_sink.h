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
};

}  // namespace kx
