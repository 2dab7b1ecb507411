// A seeded random-edit test of the document algorithms against a simple
// line model of the document, plus robustness runs on garbage and on documents
// of several MiB. Bounded in time; KESTRIX_FUZZ_SECONDS lengthens the model
// run (for a longer CI job), KESTRIX_FUZZ_SEED picks its first seed.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "config/config_store.h"
#include "config_test_util.h"

namespace kx {
namespace {

using test::g;

bool startsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }

// The document as lines joined by CR LF: the document rules restated on
// lines instead of bytes. Names and values keep the documented limits.
class LineModel {
 public:
  explicit LineModel(std::vector<std::string> lines) : lines_(std::move(lines)) {}

  std::string text() const {
    std::string out;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      if (i) out += "\r\n";
      out += lines_[i];
    }
    return out;
  }

  std::string getValue(const std::string& s, const std::string& k, const std::string& def, bool defIfEmpty) const {
    auto h = section(s);
    if (!h) return def;
    auto j = keyLine(*h, k);
    if (!j) return def;
    std::string v = lines_[*j].substr(k.size() + 1);
    if (v.empty() && defIfEmpty) return def;
    return v.substr(0, v.find('\0'));
  }

  int setValue(const std::string& s, const std::string& k, const std::string& v) {
    auto h = section(s);
    if (!h) {
      lines_.push_back("[" + s + "]");
      h = lines_.size() - 1;
    }
    auto j = keyLine(*h, k);
    if (!j) {
      // The new key line goes directly behind the "]", taking the rest of
      // the header line with it.
      std::string rest = lines_[*h].substr(s.size() + 2);
      lines_[*h].resize(s.size() + 2);
      lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*h + 1), k + "=" + rest);
      j = *h + 1;
    }
    lines_[*j] = k + "=" + v;
    return 0;
  }

  int deleteEntry(const std::string& s, const std::string& k) {
    auto h = section(s);
    if (!h) return 1;
    std::optional<std::size_t> next;
    for (std::size_t j = *h + 1; j < lines_.size() && !next; ++j)
      if (completeHeader(j)) next = j;
    auto at = [](std::size_t i) { return static_cast<std::ptrdiff_t>(i); };
    if (k.empty()) {
      if (next) {
        lines_.erase(lines_.begin() + at(*h), lines_.begin() + at(*next));
      } else {
        lines_.erase(lines_.begin() + at(*h), lines_.end());
        if (*h > 0) lines_.push_back("");
      }
      return 0;
    }
    for (std::size_t j = *h + 1; j < lines_.size(); ++j) {
      if (!startsWith(lines_[j], k + "=")) continue;
      if (next && j >= *next) return 2;
      lines_.erase(lines_.begin() + at(j));
      return 0;
    }
    return 2;
  }

  int renameSection(const std::string& from, const std::string& to) {
    auto h = section(from);
    if (!h) return 1;
    lines_[*h] = "[" + to + lines_[*h].substr(from.size() + 1);
    return 0;
  }

  int renameKey(const std::string& s, const std::string& from, const std::string& to) {
    auto h = section(s);
    if (!h) return 1;
    auto j = keyLine(*h, from);
    if (!j) return 2;
    lines_[*j] = to + lines_[*j].substr(from.size());
    return 0;
  }

 private:
  std::optional<std::size_t> section(const std::string& s) const {
    for (std::size_t j = 0; j < lines_.size(); ++j)
      if (startsWith(lines_[j], "[" + s + "]")) return j;
    return std::nullopt;
  }
  // A line that ends a section: "[" ... "]" with a line break before and after.
  bool completeHeader(std::size_t j) const {
    const std::string& l = lines_[j];
    return j > 0 && j + 1 < lines_.size() && l.size() >= 2 && l.front() == '[' && l.back() == ']';
  }
  std::optional<std::size_t> keyLine(std::size_t h, const std::string& k) const {
    for (std::size_t j = h + 1; j < lines_.size(); ++j) {
      if (startsWith(lines_[j], k + "=")) return j;
      if (completeHeader(j)) return std::nullopt;
    }
    return std::nullopt;
  }

  std::vector<std::string> lines_;
};

class Gen {
 public:
  explicit Gen(std::uint32_t seed) : rng_(seed) {}
  std::size_t below(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_); }
  bool chance(int percent) { return below(100) < static_cast<std::size_t>(percent); }

  std::string section() {
    static const std::vector<std::string> names = {"S", "T", "S2", g("节"), "a b", "U", g("基本配置")};
    return names[below(names.size())];
  }
  std::string key() {
    static const std::vector<std::string> names = {"a", "b", "a b", g("键"), ";c", "k1", " x", g("关键词")};
    return names[below(names.size())];
  }
  // A value: any bytes but CR LF (the typed accessors' escape keeps values so).
  std::string value() {
    static const std::vector<std::string> atoms = {"x", "1", "=", "[", "]", " ", "\r", "\n", std::string(1, '\0'),
                                                   g("阿"), "[S]", "]\r", "\xA3", "\xFF", "k=", "\t"};
    std::string v;
    std::size_t n = below(6);
    for (std::size_t i = 0; i < n; ++i) v += atoms[below(atoms.size())];
    for (std::size_t p; (p = v.find("\r\n")) != std::string::npos;) v.erase(p, 2);
    return v;
  }
  std::vector<std::string> startLines() {
    std::vector<std::string> lines;
    std::size_t n = below(12);
    for (std::size_t i = 0; i < n; ++i) {
      switch (below(9)) {
        case 0: lines.push_back("[" + section() + "]"); break;
        case 1: lines.push_back("[" + section() + "] ;note"); break;
        case 2: lines.push_back("[x"); break;
        case 3: lines.push_back("no equals sign"); break;
        case 4: lines.push_back(""); break;
        case 5: lines.push_back("x[" + section() + "]"); break;
        default: lines.push_back(key() + "=" + value()); break;
      }
    }
    if (lines.size() == 1 && lines[0].empty()) lines.clear();  // "" is the empty document
    if (!lines.empty() && chance(5)) lines[0] = "\xEF\xBB\xBF" + lines[0];
    return lines;
  }

 private:
  std::mt19937 rng_;
};

double fuzzSeconds(double fallback) {
  const char* s = std::getenv("KESTRIX_FUZZ_SECONDS");
  return s ? std::atof(s) : fallback;
}

TEST(RandomEdits, DocumentFollowsTheLineModelAndTheFileFollowsTheDocument) {
  test::TempDir dir;
  const std::string path = dir.file("fuzz.ini");
  const char* seedText = std::getenv("KESTRIX_FUZZ_SEED");
  std::uint32_t seed = seedText ? static_cast<std::uint32_t>(std::strtoul(seedText, nullptr, 10)) : 20240601u;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(fuzzSeconds(1.5));
  int rounds = 0;
  long long ops = 0;
  do {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Gen gen(seed);
    std::vector<std::string> start = gen.startLines();
    LineModel model(start);
    ConfigStore store;
    test::writeFile(path, model.text());
    ASSERT_TRUE(store.open(path, StorageMode::DiskFile));
    ASSERT_EQ(store.document(), model.text());
    for (int step = 0; step < 120; ++step, ++ops) {
      SCOPED_TRACE("step " + std::to_string(step));
      std::string s = gen.section(), k = gen.key();
      switch (gen.below(10)) {
        case 0:
        case 1:
        case 2: {
          std::string v = gen.value();
          ASSERT_EQ(store.setValue(s, k, v), model.setValue(s, k, v));
          break;
        }
        case 3:
        case 4: {
          bool ifEmpty = gen.chance(50);
          ASSERT_EQ(store.getValue(s, k, "DEF", ifEmpty), model.getValue(s, k, "DEF", ifEmpty));
          break;
        }
        case 5: ASSERT_EQ(store.deleteEntry(s, k), model.deleteEntry(s, k)); break;
        case 6: ASSERT_EQ(store.deleteEntry(s, ""), model.deleteEntry(s, "")); break;
        case 7: {
          std::string to = gen.section();
          ASSERT_EQ(store.renameSection(s, to), model.renameSection(s, to));
          break;
        }
        case 8: {
          std::string to = gen.key();
          ASSERT_EQ(store.renameKey(s, k, to), model.renameKey(s, k, to));
          break;
        }
        case 9: {
          // A typed round trip through the escape.
          store.setSection(s);
          std::string text = gen.value() + "\r\n" + gen.value();
          ASSERT_TRUE(store.writeText(k, text));
          model.setValue(s, k, escapeLineBreaks(text));
          std::string back = store.readText(k, "DEF");
          std::string expect = text.empty() ? "DEF" : unescapeLineBreaks(escapeLineBreaks(text));
          expect = expect.substr(0, expect.find('\0'));
          ASSERT_EQ(back, expect);
          break;
        }
      }
      ASSERT_EQ(store.document(), model.text());
      ASSERT_EQ(test::readFile(path), store.document());
    }
    // Reopening reads back exactly what was written.
    store.close();
    ASSERT_TRUE(store.open(path, StorageMode::DiskFile));
    ASSERT_EQ(store.document(), model.text());
    ++seed;
    ++rounds;
  } while (std::chrono::steady_clock::now() < deadline);
  std::printf("[ random edits ] %d documents, %lld operations\n", rounds, ops);
}

// Garbage in, no crash out: random bytes as the document and random names,
// the illegal ones (with "]", "=", CR LF) included; the file must still
// equal the document after every change.
TEST(RandomEdits, GarbageDocumentsAndNamesNeverCrash) {
  test::TempDir dir;
  const std::string path = dir.file("garbage.ini");
  std::mt19937 rng(7);
  auto below = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
  const std::string alphabet = std::string("\r\n[]=;\0\x1A ab", 11) + "\x80\xA3\xFE\xA9\xAE*";
  auto bytes = [&](std::size_t max) {
    std::string s;
    std::size_t n = below(max + 1);
    for (std::size_t i = 0; i < n; ++i) s += alphabet[below(alphabet.size())];
    return s;
  };
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(fuzzSeconds(1.0));
  int pumpDepth = 0;
  do {
    test::writeFile(path, bytes(400));
    ConfigStore store;
    ASSERT_TRUE(store.open(path, StorageMode::DiskFile));
    // A pump that now and then writes, as an event handler would.
    store.setEventPump([&] {
      if (pumpDepth > 0 || below(20) != 0) return;
      ++pumpDepth;
      store.setValue(bytes(3), bytes(3), bytes(5));
      --pumpDepth;
    });
    for (int step = 0; step < 60; ++step) {
      std::string s = bytes(4), k = bytes(4), v = bytes(8);
      std::vector<std::string> out;
      switch (below(12)) {
        case 0: store.setValue(s, k, v); break;
        case 1: store.getValue(s, k, "d", below(2) == 0); break;
        case 2: store.deleteEntry(s, below(2) ? k : ""); break;
        case 3: store.renameSection(s, k); break;
        case 4: store.renameKey(s, k, v); break;
        case 5: store.sectionsWithKey(k, out); break;
        case 6: store.keysWithValue(v, out, below(2) ? s : ""); break;
        case 7: store.listSections(out, below(2) ? k : "", below(2) ? v : ""); break;
        case 8: store.listKeys(out, "", "", below(2) ? "x" : "", k, ""); break;
        case 9:
          store.setSection(s);
          store.writeText(k, v);
          store.readNumber(k, 1);
          store.readDateTime(k, {});
          break;
        case 10:
          store.nextSectionStart(static_cast<std::int64_t>(below(500)) - 50,
                                 static_cast<std::int64_t>(below(500)) - 50);
          break;
        case 11: store.setText(bytes(20), below(2) == 0); break;
      }
      ASSERT_EQ(test::readFile(path), store.document());
    }
  } while (std::chrono::steady_clock::now() < deadline);
}

TEST(LargeDocuments, SeveralMiBStayFastAndExact) {
  test::TempDir dir;
  const std::string path = dir.file("big.ini");
  std::string doc;
  for (int i = 0; doc.size() < 4u << 20; ++i) {
    doc += "[Section" + std::to_string(i) + "]\r\n";
    for (int k = 0; k < 20; ++k) doc += "key" + std::to_string(k) + "=value [Section0] " + std::to_string(i) + "\r\n";
  }
  doc += "[Last]\r\nk=1";
  test::writeFile(path, doc);
  ConfigStore store;
  ASSERT_TRUE(store.open(path, StorageMode::DiskFile));
  const auto t0 = std::chrono::steady_clock::now();
  EXPECT_EQ(store.getValue("Last", "k", "d", true), "1");
  EXPECT_EQ(store.setValue("Last", "k", "2"), 0);
  EXPECT_EQ(store.setValue("Section0", "key5", "changed"), 0);  // the tail behind moves
  EXPECT_EQ(store.setValue("New", "n", "1"), 0);
  EXPECT_EQ(store.deleteEntry("Section1", ""), 0);
  std::vector<std::string> out;
  EXPECT_GT(store.sectionsWithKey("key3", out), 1000);
  EXPECT_GT(store.keysWithValue("value", out, "Section7"), 0);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  EXPECT_LT(seconds, 10.0);
  EXPECT_EQ(test::readFile(path), store.document());
  EXPECT_EQ(store.getValue("Section0", "key5", "d", true), "changed");
}

TEST(LargeDocuments, PathologicalHeadersStayLinear) {
  // Many "CR LF [" without any "] CR LF": nextSectionStart must not rescan the tail for
  // every candidate; many "[S]" inside values: findSection passes them one by one.
  std::string doc = "[S]";
  for (int i = 0; i < 300000; ++i) doc += "\r\n[x";
  for (int i = 0; i < 300000; ++i) doc += "\r\nv=[S]";
  doc += "\r\nk=1";
  ConfigStore store;
  store.setText(doc, false);
  const auto t0 = std::chrono::steady_clock::now();
  EXPECT_EQ(store.getValue("S", "k", "d", true), "1");
  EXPECT_EQ(store.nextSectionStart(1, static_cast<std::int64_t>(doc.size())), -1);
  EXPECT_EQ(store.setValue("S", "k", "2"), 0);
  EXPECT_EQ(store.getValue("T", "k", "d", true), "d");
  std::vector<std::string> out;
  EXPECT_EQ(store.keysWithValue("[S]", out, ""), 300000);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  EXPECT_LT(seconds, 5.0);
}

TEST(LargeDocuments, NulBytesAndNoLineBreaks) {
  ConfigStore store;
  store.setText(std::string(1 << 20, '\0'), false);
  EXPECT_EQ(store.getValue("S", "k", "d", true), "d");
  EXPECT_EQ(store.setValue("S", "k", "v"), 0);
  EXPECT_EQ(store.getValue("S", "k", "d", true), "v");
  EXPECT_EQ(store.getText(), "");
  store.setText(std::string(1 << 20, 'x'), false);  // one line without CR LF
  EXPECT_EQ(store.deleteEntry("S", "k"), 1);
  std::vector<std::string> out;
  EXPECT_EQ(store.listSections(out, "", ""), 0);
  store.setText("[S", false);  // a header without "]"
  EXPECT_EQ(store.getValue("S", "k", "d", true), "d");
  EXPECT_EQ(store.setValue("S", "k", "v"), 0);
  EXPECT_EQ(store.document(), "[S\r\n[S]\r\nk=v");
  store.setText("[S]\r\nk", false);  // a key line at the very end, without "="
  EXPECT_EQ(store.getValue("S", "k", "d", true), "d");
  store.setText("[S]\r\nk=", false);
  EXPECT_EQ(store.getValue("S", "k", "d", false), "");
  EXPECT_EQ(store.deleteEntry("S", "k"), 0);
  EXPECT_EQ(store.document(), "[S]");
}

}  // namespace
}  // namespace kx
