// The forward character scan of GBK text, one byte at a time. Shared by the
// text measures and the pinyin walker so that both see the same boundaries.
#pragma once

#include <string_view>

namespace kx {

class CharScan {
 public:
  explicit CharScan(std::string_view text)
      : b_(reinterpret_cast<const unsigned char*>(text.data())), len_(text.size()) {}

  bool done() const { return i_ >= len_; }
  std::size_t pos() const { return i_; }  // the next byte to be read
  int count() const { return count_; }    // characters completed so far

  // Reads one byte and returns the count after it. CR LF counts once, a lone
  // CR or LF once, a byte of 0x80 or more with its partner once; a lead byte
  // followed by a byte below 0x80 counts once together with it.
  int step() {
    const unsigned char c = b_[i_];
    if (c < 0x80 && c != kCR && c != kLF) {
      ++count_;
      pending_ = false;
    } else if (c == kCR && (i_ + 1 == len_ || b_[i_ + 1] != kLF)) {
      ++count_;
      pending_ = false;
    } else if (c == kLF && !pending_ && (i_ == 0 || b_[i_ - 1] != kCR)) {
      ++count_;
    } else if (pending_) {
      ++count_;
      pending_ = false;
    } else {
      pending_ = true;
    }
    ++i_;
    return count_;
  }

 private:
  static constexpr unsigned char kCR = 0x0D;
  static constexpr unsigned char kLF = 0x0A;

  const unsigned char* b_;
  std::size_t len_;
  std::size_t i_ = 0;
  int count_ = 0;
  bool pending_ = false;
};

}  // namespace kx
