#include "cli/split_output.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unordered_set>

#include "cli/search_common.h"
#include "platform/file_util.h"
#include "text/gbk_codec.h"

namespace kx::cli {
namespace {

constexpr std::size_t kNameBytes = 100;

std::string lowerAscii(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

bool reservedOnWindows(const std::string& name) {
  const std::string stem = lowerAscii(name.substr(0, name.find('.')));
  if (stem == "con" || stem == "prn" || stem == "aux" || stem == "nul") return true;
  return stem.size() == 4 && (stem.compare(0, 3, "com") == 0 || stem.compare(0, 3, "lpt") == 0) && stem[3] >= '1' &&
         stem[3] <= '9';
}

std::string safeName(const std::string& query) {
  std::string name;
  for (char c : query) {
    const auto u = static_cast<unsigned char>(c);
    name += (u < 0x20 || u == 0x7F || std::strchr("<>:\"/\\|?* ", c)) ? '_' : c;
  }
  if (name.size() > kNameBytes) {
    std::size_t cut = kNameBytes;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;  // not inside a character
    name.resize(cut);
  }
  if (name.empty() || name[0] == '.' || reservedOnWindows(name)) name = "_" + name;
  return name;
}

}  // namespace

std::vector<std::string> splitFileNames(const std::vector<std::string>& queries) {
  std::vector<std::string> names;
  std::unordered_set<std::string> taken;  // lower-cased, with ".txt"
  for (const std::string& query : queries) {
    const std::string base = safeName(query);
    std::string name = base + ".txt";
    for (int n = 2; !taken.insert(lowerAscii(name)).second; ++n) name = base + "~" + std::to_string(n) + ".txt";
    names.push_back(std::move(name));
  }
  return names;
}

bool SplitOutput::open(const std::string& dir, const std::vector<std::string>& gbkQueries,
                       const std::vector<std::string>& utf8Queries, std::string* error) {
  dir_ = dir;
  queries_ = gbkQueries;
  names_ = splitFileNames(utf8Queries);
  pending_.assign(names_.size(), {});
  if (!makeFolders(dir)) {
    *error = "cannot create the folder " + dir + ": " + std::strerror(errno);
    return false;
  }
  for (const std::string& name : names_) {
    std::FILE* f = openStdioFile(dir_ + "/" + name, "wb");
    if (!f || std::fclose(f) != 0) {
      *error = "cannot create " + dir_ + "/" + name + ": " + std::strerror(errno);
      return false;
    }
  }
  return true;
}

void SplitOutput::add(std::string_view keyword, std::span<const std::uint32_t> ids) {
  for (std::uint32_t id : ids) {
    pending_[id].append(keyword).append("\r\n");
    pendingBytes_ += keyword.size() + 2;
  }
  if (pendingBytes_ > kGatherBytes) flushLargest();
}

void SplitOutput::flushLargest() {
  // The largest gatherings first, down to half the budget: a rare query's few
  // keywords wait for the end instead of costing an open and a close each time.
  std::vector<std::size_t> order(pending_.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) { return pending_[a].size() > pending_[b].size(); });
  for (std::size_t i : order) {
    if (pendingBytes_ <= kGatherBytes / 2 || pending_[i].empty()) break;
    append(names_[i], pending_[i]);
    pendingBytes_ -= pending_[i].size();
    std::string().swap(pending_[i]);
  }
}

bool SplitOutput::append(const std::string& name, std::string_view bytes) {
  std::FILE* f = openStdioFile(dir_ + "/" + name, "ab");
  bool ok = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (f && std::fclose(f) != 0) ok = false;
  if (!ok && error_.empty()) error_ = "writing " + dir_ + "/" + name + " failed: " + std::strerror(errno);
  return ok;
}

bool SplitOutput::flush() {
  for (std::size_t i = 0; i < pending_.size(); ++i) {
    if (pending_[i].empty()) continue;
    append(names_[i], pending_[i]);
    std::string().swap(pending_[i]);
  }
  pendingBytes_ = 0;
  return error_.empty();
}

bool SplitOutput::finish(const std::vector<std::int64_t>& counts, std::string* error) {
  flush();
  std::string index = "file\tquery\tcount\r\n";
  for (std::size_t i = 0; i < names_.size(); ++i) {
    // The names came from the queries, so GBK holds them too.
    index += utf8ToGbk(names_[i]).value_or(names_[i]) + "\t" + tsvField(queries_[i]) + "\t" + std::to_string(counts[i]) + "\r\n";
  }
  std::FILE* f = openStdioFile(dir_ + "/index.tsv", "wb");
  const bool ok = f && std::fwrite(index.data(), 1, index.size(), f) == index.size();
  if ((f && std::fclose(f) != 0) || !ok) {
    if (error_.empty()) error_ = "writing " + dir_ + "/index.tsv failed: " + std::strerror(errno);
  }
  *error = error_;
  return error_.empty();
}

}  // namespace kx::cli
