#include "search/scan/multi_literal.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace kx {
namespace {

constexpr std::uint32_t kMul = 0x9E3779B1u;

int keyLenFor(std::size_t patternLen) { return patternLen >= 4 ? 4 : patternLen >= 2 ? 2 : 1; }

std::uint32_t load(const char* p, int keyLen) {
  std::uint32_t k = 0;
  std::memcpy(&k, p, static_cast<std::size_t>(keyLen));  // little-endian hosts only, like the rest
  return k;
}

std::size_t slotIndex(std::uint32_t key, std::size_t mask) {
  const std::uint32_t h = key * kMul;
  return (h ^ (h >> 15)) & mask;
}

// Whether p stands at at, given that its first keyLen bytes do.
bool tailMatches(const std::string& p, const char* at, int keyLen) {
  const auto skip = static_cast<std::size_t>(keyLen);
  return p.size() == skip || std::memcmp(at + skip, p.data() + skip, p.size() - skip) == 0;
}

}  // namespace

MultiLiteral::MultiLiteral(const std::vector<std::string>& patterns, Anchor anchor)
    : anchor_(anchor), patterns_(patterns) {
  std::vector<std::uint32_t> members[5];
  for (std::uint32_t id = 0; id < patterns_.size(); ++id) {
    if (!patterns_[id].empty()) members[keyLenFor(patterns_[id].size())].push_back(id);
  }
  for (int keyLen : {4, 2, 1}) {
    if (members[keyLen].empty()) continue;
    groups_.emplace_back();
    groups_.back().keyLen = keyLen;
    build(groups_.back(), members[keyLen]);
  }
}

std::uint32_t MultiLiteral::keyOf(std::string_view pattern, int keyLen) const {
  const std::size_t at = anchor_ == Anchor::LineEnd ? pattern.size() - static_cast<std::size_t>(keyLen) : 0;
  return load(pattern.data() + at, keyLen);
}

void MultiLiteral::build(Group& g, const std::vector<std::uint32_t>& members) {
  int bits = g.keyLen * 8;
  if (g.keyLen == 4) {
    // About 128 bits a pattern let through 0.7% of the positions of Chinese
    // text for 1,000 two-character words; 2^22 bits (512 KiB) at most.
    bits = std::clamp(static_cast<int>(std::bit_width(members.size() * 128 - 1)), 12, 22);
    g.hashShift = static_cast<unsigned>(32 - bits);
  }
  g.filter.assign((std::size_t{1} << bits) / 64 + 1, 0);

  std::vector<std::pair<std::uint32_t, std::uint32_t>> keyed;  // (key, id)
  for (std::uint32_t id : members) keyed.emplace_back(keyOf(patterns_[id], g.keyLen), id);
  std::sort(keyed.begin(), keyed.end());
  g.slots.assign(std::bit_ceil(keyed.size() * 2), {});
  const std::size_t mask = g.slots.size() - 1;
  for (std::size_t i = 0; i < keyed.size();) {
    const std::uint32_t key = keyed[i].first;
    const std::uint32_t bit = g.bitOf(key);
    g.filter[bit >> 6] |= std::uint64_t{1} << (bit & 63);
    std::size_t s = slotIndex(key, mask);
    while (g.slots[s].begin != g.slots[s].end) s = (s + 1) & mask;
    g.slots[s].key = key;
    g.slots[s].begin = static_cast<std::uint32_t>(g.ids.size());
    for (; i < keyed.size() && keyed[i].first == key; ++i) g.ids.push_back(keyed[i].second);
    g.slots[s].end = static_cast<std::uint32_t>(g.ids.size());
  }
}

const MultiLiteral::Group::Slot* MultiLiteral::Group::find(std::uint32_t key) const {
  const std::size_t mask = slots.size() - 1;
  for (std::size_t s = slotIndex(key, mask);; s = (s + 1) & mask) {
    if (slots[s].begin == slots[s].end) return nullptr;
    if (slots[s].key == key) return &slots[s];
  }
}

void MultiLiteral::verify(const Group& g, std::uint32_t key, std::string_view text, std::size_t pos,
                          std::vector<Hit>* hits, std::vector<std::uint32_t>* ids) const {
  const Group::Slot* slot = g.find(key);
  if (!slot) return;
  for (std::uint32_t k = slot->begin; k < slot->end; ++k) {
    const std::uint32_t id = g.ids[k];
    const std::string& p = patterns_[id];
    if (anchor_ == Anchor::LineEnd) {
      if (p.size() <= text.size() && std::memcmp(text.data() + text.size() - p.size(), p.data(), p.size()) == 0)
        ids->push_back(id);
    } else if (p.size() <= text.size() - pos && tailMatches(p, text.data() + pos, g.keyLen)) {
      if (hits) {
        hits->push_back({static_cast<std::uint32_t>(pos), id});
      } else {
        ids->push_back(id);
      }
    }
  }
}

template <int KeyLen>
void MultiLiteral::scanGroup(const Group& g, std::string_view text, std::vector<Hit>& out) const {
  if (text.size() < KeyLen) return;
  const char* const s = text.data();
  const std::size_t last = text.size() - KeyLen;
  // Locals, so the loop keeps them in registers across the rare verify calls.
  const std::uint64_t* const filter = g.filter.data();
  const unsigned shift = g.hashShift;
  for (std::size_t i = 0; i <= last; ++i) {
    std::uint32_t k = 0;
    std::memcpy(&k, s + i, KeyLen);
    const std::uint32_t bit = KeyLen == 4 ? (k * kMul) >> shift : k;
    if ((filter[bit >> 6] >> (bit & 63)) & 1) [[unlikely]] verify(g, k, text, i, &out, nullptr);
  }
}

void MultiLiteral::findAll(std::string_view text, std::vector<Hit>& out) const {
  const std::size_t first = out.size();
  for (const Group& g : groups_) {
    if (g.keyLen == 4) scanGroup<4>(g, text, out);
    if (g.keyLen == 2) scanGroup<2>(g, text, out);
    if (g.keyLen == 1) scanGroup<1>(g, text, out);
  }
  if (groups_.size() > 1) {
    std::stable_sort(out.begin() + static_cast<std::ptrdiff_t>(first), out.end(),
                     [](const Hit& a, const Hit& b) { return a.pos < b.pos; });
  }
}

void MultiLiteral::findAnchored(std::string_view keyword, std::vector<std::uint32_t>& out) const {
  for (const Group& g : groups_) {
    const auto len = static_cast<std::size_t>(g.keyLen);
    if (keyword.size() < len) continue;
    const std::uint32_t k = keyOf(keyword, g.keyLen);
    if (g.mayHold(k)) verify(g, k, keyword, 0, nullptr, &out);
  }
}

}  // namespace kx
