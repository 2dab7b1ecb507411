#include "search/store/store_packer.h"

#include <cerrno>
#include <cstring>

#include "platform/file_util.h"
#include "platform/store_password.h"
#include "search/match/gbk_text.h"
#include "search/match/pinyin.h"

namespace kx {
namespace {

constexpr std::size_t kFlushAt = 256 * 1024;
constexpr std::size_t kExamples = 5;

int letterOfChar(std::string_view c) {
  if (c.size() == 1) {
    const char b = c[0];
    if (b >= 'a' && b <= 'z') return b - 'a' + 1;
    if (b >= 'A' && b <= 'Z') return b - 'A' + 1;
    if (b >= '0' && b <= '9') return kDigitsIndex;
    return 0;
  }
  const char letter = pinyinInitialLetter(c);
  return letter ? letter - 'a' + 1 : 0;
}

}  // namespace

int partitionLetter(std::string_view keyword) { return letterOfChar(leftChars(keyword, 1)); }

int placementLetter(std::string_view keyword) {
  for (std::string_view rest = keyword; !rest.empty();) {
    std::string_view c = leftChars(rest, 1);
    if (c.empty()) break;
    if (int letter = letterOfChar(c)) return letter;
    rest.remove_prefix(c.size());
  }
  return kDigitsIndex;
}

StorePacker::StorePacker(const std::string& runDir, KeywordCategory category) {
  const std::string folder = joinPath(runDir, categoryFolder(category));
  if (!makeFolders(folder)) {
    error_ = folder + ": " + std::strerror(errno);
    return;
  }
  for (int i = 1; i <= kLetterFileCount; ++i) {
    auto letter = std::make_unique<Letter>();
    letter->path = joinPath(folder, letterIndexName(i) + ".txt");
    if (!letter->writer.create(letter->path, storePassword())) {
      error_ = letter->path + ": " + std::strerror(errno);
      return;
    }
    letters_[i] = std::move(letter);
  }
}

StorePacker::~StorePacker() = default;

void StorePacker::add(std::string_view keyword) {
  if (!ok()) return;
  int index = partitionLetter(keyword);
  if (index == 0) {
    index = placementLetter(keyword);
    if (placedExamples_.size() < kExamples) placedExamples_.emplace_back(keyword);
    ++placedByRule_;
  }
  Letter& letter = *letters_[index];
  letter.pending.append(keyword);
  letter.pending.append("\r\n", 2);
  ++counts_[index];
  ++counts_[kAllIndex];
  if (letter.pending.size() >= kFlushAt) flushLetter(letter);
}

bool StorePacker::flushLetter(Letter& letter) {
  if (!letter.writer.append(letter.pending)) {
    if (ok()) error_ = letter.path + ": " + std::strerror(errno);
    return false;
  }
  letter.pending.clear();
  return true;
}

bool StorePacker::finish() {
  if (!ok()) return false;
  for (int i = 1; i <= kLetterFileCount; ++i) {
    Letter& letter = *letters_[i];
    if (!flushLetter(letter)) return false;
    if (!letter.writer.finish()) {
      error_ = letter.path + ": " + std::strerror(errno);
      return false;
    }
  }
  return true;
}

}  // namespace kx
