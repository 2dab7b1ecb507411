// The block-wide byte scans under every search: the substring search, the
// line ends of a block and the export-format check. Each has an SSE2 path
// (every x86-64), an AVX2 path and an AVX-512 (BW) path, chosen once at run
// time from what the processor supports, so the build needs no -mavx2.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kx {

enum class VectorPath { Portable, Sse2, Avx2, Avx512 };

// The path the scans take: the widest one the processor and the build support,
// unless forceVectorPath chose another.
VectorPath vectorPath();

// Makes the scans take path from now on, so tests can run every path on the
// same inputs. Returns false, changing nothing, when the processor or the
// build lacks it. Not for use while scans run on other threads.
bool forceVectorPath(VectorPath path);

// Where an occurrence must stand, taking [begin, end) as whole lines: at a
// line start (begin or after an LF), or at a line end (before LF, CR LF or end).
enum class Anchor { None, LineStart, LineEnd };

// The first occurrence of needle in [begin, end) that stands where anchor
// asks, or nullptr; an empty needle is found at begin. Candidates are the
// starts where the needle's first and last bytes (and the anchor's line-end
// bytes) fit, tested 16 or 32 at a time, so lines that cannot match cost
// one pass of vector compares.
const char* findSubstring(const char* begin, const char* end, std::string_view needle, Anchor anchor = Anchor::None);

// Writes the offset of every LF in bytes[0, n) to out, in order, and returns
// how many there are; out must have room for n offsets.
std::size_t findLineEnds(const char* bytes, std::size_t n, std::uint32_t* out);

// The number of keywords in a block of whole lines when it is already in the
// export format (every line ends in CR LF, the last one too); -1 otherwise.
long countExportLines(std::string_view lines);

}  // namespace kx
