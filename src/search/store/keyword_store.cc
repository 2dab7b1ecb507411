#include "search/store/keyword_store.h"

#include <cstring>

#include "platform/store_password.h"

namespace kx {
namespace {

constexpr std::size_t kBlockSize = 256 * 1024;

}  // namespace

std::string_view categoryFolder(KeywordCategory category) {
  return category == KeywordCategory::StoreWords ? "店铺词" : "商品词";
}

std::string letterIndexName(int index) { return index == kDigitsIndex ? "0-9" : letterName(index); }

std::string letterName(long long n, bool lowerCase) {
  std::string name;
  while (n > 0) {
    long long r = n % 26;
    if (r == 0) {
      r = 26;
      n -= 1;
    }
    name.insert(name.begin(), static_cast<char>(r + (lowerCase ? 96 : 64)));
    n /= 26;
  }
  return name;
}

bool LetterFile::open(const std::string& path, std::string_view password) {
  begin_ = end_ = 0;
  return file_.open(path, password);
}

void LetterFile::rewind() {
  file_.seek(0);
  begin_ = end_ = 0;
}

bool LetterFile::atEnd() const { return begin_ == end_ && file_.position() >= file_.length(); }

bool LetterFile::fill() {
  if (file_.position() >= file_.length()) return false;
  if (begin_ > 0) {
    std::memmove(buf_.data(), buf_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (buf_.size() - end_ < kBlockSize) buf_.resize(end_ + kBlockSize);
  std::size_t got = file_.read(buf_.data() + end_, kBlockSize);
  if (got == 0) {
    // An unreadable rest ends the file, so that readers always move forward.
    file_.seek(file_.length());
    return false;
  }
  end_ += got;
  return true;
}

std::string_view LetterFile::readLine() {
  std::size_t scanned = 0;  // bytes after begin_ known to hold no LF
  for (;;) {
    const char* base = buf_.data() + begin_;
    const std::size_t avail = end_ - begin_;
    const void* lf = avail > scanned ? std::memchr(base + scanned, '\n', avail - scanned) : nullptr;
    if (lf) {
      const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(lf) - base);
      const std::size_t len = (at > 0 && base[at - 1] == '\r') ? at - 1 : at;
      begin_ += at + 1;
      return {base, len};
    }
    scanned = avail;
    if (!fill()) {
      begin_ = end_;
      return {buf_.data() + end_ - avail, avail};
    }
  }
}

void rewind(LetterFile* file) {
  if (file) file->rewind();
}

bool atEnd(const LetterFile* file) { return !file || file->atEnd(); }

std::string_view readLine(LetterFile* file) { return file ? file->readLine() : std::string_view(); }

KeywordStore::KeywordStore() = default;

void KeywordStore::openStore(const std::string& runDir, const std::function<void(const std::string&)>& onLetterName) {
  for (int i = 1; i <= kLetterFileCount; ++i) {
    const std::string name = letterIndexName(i);
    if (onLetterName) onLetterName(name);
    for (KeywordCategory category : {KeywordCategory::ProductWords, KeywordCategory::StoreWords}) {
      auto file = std::make_unique<LetterFile>();
      const std::string path = runDir + "/" + std::string(categoryFolder(category)) + "/" + name + ".txt";
      auto& slot = files_[static_cast<int>(category)][i];
      slot = file->open(path, storePassword()) ? std::move(file) : nullptr;
    }
  }
  if (onLetterName) onLetterName("all");
}

LetterFile* KeywordStore::letterFile(KeywordCategory category, int index) {
  const int c = static_cast<int>(category);
  if (c < 0 || c > 1 || index < 1 || index > kLetterFileCount) return nullptr;
  return files_[c][index].get();
}

void KeywordStore::closeAll() {
  for (auto& row : files_)
    for (auto& slot : row) slot.reset();
}

std::int32_t KeywordStore::keywordCount(KeywordCategory category, int index) const {
  const int c = static_cast<int>(category);
  if (c < 0 || c > 1 || index < 1 || index > kAllIndex) return 0;
  return counts_[c][index];
}

void KeywordStore::setKeywordCount(KeywordCategory category, int index, std::int32_t count) {
  const int c = static_cast<int>(category);
  if (c >= 0 && c <= 1 && index >= 1 && index <= kAllIndex) counts_[c][index] = count;
}

}  // namespace kx
