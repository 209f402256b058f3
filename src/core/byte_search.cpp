#include "core/byte_search.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace core {

#if defined(__SSE2__)
namespace {

// Bit k set: the needle's first byte at i + k and its last byte where it would end.
inline unsigned candidates16(const char* h, std::size_t i, std::size_t n, __m128i first, __m128i last) {
  const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i));
  const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i + n - 1));
  return unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
}

}  // namespace
#endif

std::size_t findBytes(std::string_view hay, std::string_view needle, std::size_t from) {
  const std::size_t n = needle.size();
  if (from > hay.size()) return std::string_view::npos;
  if (n == 0) return from;
  if (n > hay.size() - from) return std::string_view::npos;
  const char* const h = hay.data();
  std::size_t i = from;
#if defined(__SSE2__)
  if (n > 1) {
    const __m128i first = _mm_set1_epi8(needle.front());
    const __m128i last = _mm_set1_epi8(needle.back());
    // Sixty-four positions per step: one branch for four blocks.
    for (; i + n - 1 + 64 <= hay.size(); i += 64) {
      unsigned long long mask = candidates16(h, i, n, first, last) |
                                static_cast<unsigned long long>(candidates16(h, i + 16, n, first, last)) << 16 |
                                static_cast<unsigned long long>(candidates16(h, i + 32, n, first, last)) << 32 |
                                static_cast<unsigned long long>(candidates16(h, i + 48, n, first, last)) << 48;
      for (; mask; mask &= mask - 1) {
        const std::size_t at = i + unsigned(__builtin_ctzll(mask));
        if (std::memcmp(h + at + 1, needle.data() + 1, n - 2) == 0) return at;
      }
    }
  }
#endif
  for (; i + n <= hay.size(); ++i)
    if (h[i] == needle.front() && std::memcmp(h + i + 1, needle.data() + 1, n - 1) == 0) return i;
  return std::string_view::npos;
}

const char* findLineBreak(const char* p, const char* end) {
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (; end - p >= 16; p += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const unsigned mask =
        unsigned(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf))));
    if (mask) return p + __builtin_ctz(mask);
  }
#endif
  for (; p < end; ++p)
    if (*p == '\r' || *p == '\n') return p;
  return end;
}

const char* findEvenQuotesLineBreak(const char* p, const char* end, bool& open) {
  unsigned odd = 0;
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i quote = _mm_set1_epi8('"');
  for (; end - p >= 16; p += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const unsigned quotes = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(block, quote)));
    for (unsigned breaks = unsigned(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf))));
         breaks; breaks &= breaks - 1) {
      const unsigned at = unsigned(__builtin_ctz(breaks));
      if (((odd + unsigned(__builtin_popcount(quotes & ((1u << at) - 1)))) & 1) == 0) {
        open = false;
        return p + at;
      }
    }
    odd += unsigned(__builtin_popcount(quotes));
  }
#endif
  for (; p < end; ++p) {
    if (*p == '"') ++odd;
    else if ((*p == '\r' || *p == '\n') && (odd & 1) == 0) break;
  }
  open = (odd & 1) != 0;
  return p;
}

}  // namespace core
