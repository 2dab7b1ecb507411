#include "cli/word_list.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unordered_set>

#include "platform/file_util.h"
#include "text/gbk_codec.h"

namespace kx::cli {
namespace {

// Whether bytes are whole GBK characters that the code page maps.
bool isGbk(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) continue;
    const int trail = i + 1 < bytes.size() && lead != 0x80 ? static_cast<unsigned char>(bytes[i + 1]) : -1;
    if (gbkCharToUnicode(lead, trail) == U'\uFFFD') return false;
    if (trail >= 0) ++i;
  }
  return true;
}

}  // namespace

std::optional<WordList> readWordList(const std::string& path, ListEncoding encoding, std::string* error) {
  std::FILE* f = path == "-" ? stdin : openStdioFile(path, "rb");
  if (!f) {
    *error = path + ": " + std::strerror(errno);
    return std::nullopt;
  }
  std::string content;
  char buf[1 << 16];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) content.append(buf, n);
  const bool readOk = !std::ferror(f);
  if (f != stdin) std::fclose(f);
  if (!readOk) {
    *error = path + ": read error";
    return std::nullopt;
  }

  WordList list;
  std::unordered_set<std::string> seen;
  std::string_view rest(content);
  if (encoding == ListEncoding::Utf8 && rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);
  for (int number = 1; !rest.empty(); ++number) {
    const std::size_t lf = rest.find('\n');
    std::string_view line = rest.substr(0, lf);
    rest.remove_prefix(lf == std::string_view::npos ? rest.size() : lf + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    std::string word;
    if (encoding == ListEncoding::Gbk) {
      if (!isGbk(line)) {
        list.skipped.push_back(path + ":" + std::to_string(number) + ": not GBK text; line skipped");
        continue;
      }
      word = line;
    } else {
      char32_t bad = 0;
      auto gbk = utf8ToGbk(line, &bad);
      if (!gbk) {
        char what[96];
        if (bad == U'\uFFFD') {
          std::snprintf(what, sizeof what, "not UTF-8 text (try --encoding gbk)");
        } else {
          std::snprintf(what, sizeof what, "a character GBK cannot hold (U+%04X)", static_cast<unsigned>(bad));
        }
        list.skipped.push_back(path + ":" + std::to_string(number) + ": " + what + "; line skipped");
        continue;
      }
      word = std::move(*gbk);
    }
    if (seen.insert(word).second) {
      list.words.push_back(std::move(word));
      list.lineNumbers.push_back(number);
    }
  }
  return list;
}

}  // namespace kx::cli
