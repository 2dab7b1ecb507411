#include "search/run/result_sink.h"

#include "search/scan/line_scanner.h"

namespace kx {

void ResultSink::addLines(std::string_view lines, long) {
  forEachLine(lines, [this](std::string_view keyword) {
    add(keyword);
    return true;
  });
}

long countExportLines(std::string_view lines) {
  if (lines.size() < 2 || lines.substr(lines.size() - 2) != "\r\n") return -1;
  long count = 0;
  const char* p = lines.data();
  const char* const end = p + lines.size();
  // A LF without CR before it would gain one in the export, so such blocks do not qualify.
  for (const char* lf; (lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p))));
       p = lf + 1) {
    if (lf == lines.data() || lf[-1] != '\r') return -1;
    ++count;
  }
  return count;
}

}  // namespace kx
