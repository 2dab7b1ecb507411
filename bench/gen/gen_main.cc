// kestrix-bench-gen: writes a deterministic keyword list (GBK, CR LF after
// every line) for building a full-size benchmark store with kestrix-cli pack.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "phrase_maker.h"
#include "rng.h"
#include "vocabulary.h"

namespace {

constexpr const char* kUsage =
    "usage: kestrix-bench-gen --category product|store --count N [--seed S]\n"
    "                         [--dict FILE] [--output FILE]\n"
    "Writes N keywords (GBK, CR LF line ends) composed from the words of FILE\n"
    "(\"word frequency tag\" lines, UTF-8; default: the python3-jieba word list).\n";

int usage(const char* message) {
  std::fprintf(stderr, "kestrix-bench-gen: %s\n%s", message, kUsage);
  return 2;
}

bool parseCount(const char* text, unsigned long long& value) {
  char* end = nullptr;
  value = std::strtoull(text, &end, 10);
  return *text != '\0' && *text != '-' && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
  std::string dict = "/usr/lib/python3/dist-packages/jieba/dict.txt";
  std::string output;
  std::string_view category;
  unsigned long long count = 0, seed = 20131010;
  bool haveCount = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (i + 1 >= argc) return usage("missing value after an option");
    const char* value = argv[++i];
    if (arg == "--dict") dict = value;
    else if (arg == "--output") output = value;
    else if (arg == "--category") category = value;
    else if (arg == "--count") haveCount = parseCount(value, count);
    else if (arg == "--seed") {
      if (!parseCount(value, seed)) return usage("--seed needs a whole number");
    } else {
      return usage("unknown option");
    }
  }
  if (category != "product" && category != "store") return usage("--category must be product or store");
  if (!haveCount) return usage("--count needs a whole number");

  std::ifstream in(dict);
  if (!in) {
    std::fprintf(stderr, "kestrix-bench-gen: cannot read %s\n", dict.c_str());
    return 1;
  }
  kxbench::Vocabulary vocab;
  vocab.load(in);
  if (vocab.leadSize() == 0) {
    std::fprintf(stderr, "kestrix-bench-gen: no usable words in %s\n", dict.c_str());
    return 1;
  }

  std::FILE* out = output.empty() ? stdout : std::fopen(output.c_str(), "wb");
  if (!out) {
    std::fprintf(stderr, "kestrix-bench-gen: cannot write %s\n", output.c_str());
    return 1;
  }
  static char buffer[1 << 20];
  std::setvbuf(out, buffer, _IOFBF, sizeof buffer);

  // Each category has its own stream, so the store words do not depend on
  // how many product words were made.
  kxbench::Rng rng(seed * 2 + (category == "store" ? 1 : 0));
  const kxbench::PhraseMaker maker(vocab);
  std::string keyword;
  unsigned long long bytes = 0;
  for (unsigned long long n = 0; n < count; ++n) {
    if (category == "product") maker.product(rng, keyword);
    else maker.store(rng, keyword);
    keyword += "\r\n";
    bytes += keyword.size();
    std::fwrite(keyword.data(), 1, keyword.size(), out);
  }
  if (std::fflush(out) != 0 || (out != stdout && std::fclose(out) != 0)) {
    std::fprintf(stderr, "kestrix-bench-gen: error writing %s\n", output.empty() ? "stdout" : output.c_str());
    return 1;
  }
  std::fprintf(stderr, "kestrix-bench-gen: %llu %s keywords, %.1f bytes each without CR LF, from %zu words\n",
               count, std::string(category).c_str(), count ? static_cast<double>(bytes) / static_cast<double>(count) - 2 : 0.0,
               vocab.size());
  return 0;
}
