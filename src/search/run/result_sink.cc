#include "search/run/result_sink.h"

#include "search/scan/line_scanner.h"

namespace kx {

void ResultSink::addLines(std::string_view lines, long) {
  forEachLine(lines, [this](std::string_view keyword) {
    add(keyword);
    return true;
  });
}

}  // namespace kx
