// Searching a byte range for the first of two byte values, sixteen or eight bytes at a time:
// short lines and fields are scanned in one pass without a library call per value.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zenavo {

// The first byte in [p, end) equal to `a` or `b`, or end. A byte of a word equal to c gives a
// zero byte in word ^ broadcast(c), and the lowest flagged byte of (v - 0x01..01) & ~v &
// 0x80..80 is the first zero byte of v on a little-endian machine.
inline const char* FindEitherByte(const char* p, const char* end, char a, char b) {
#if defined(__SSE2__)
  // Sixteen bytes at a time where the machine has SSE2 (every x86-64 does).
  const __m128i as16 = _mm_set1_epi8(a), bs16 = _mm_set1_epi8(b);
  for (; end - p >= 16; p += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int found = _mm_movemask_epi8(
        _mm_or_si128(_mm_cmpeq_epi8(block, as16), _mm_cmpeq_epi8(block, bs16)));
    if (found) return p + std::countr_zero(static_cast<unsigned>(found));
  }
#endif
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL, kHighs = 0x8080808080808080ULL;
    const std::uint64_t as = kOnes * static_cast<unsigned char>(a);
    const std::uint64_t bs = kOnes * static_cast<unsigned char>(b);
    const auto zeroBytes = [](std::uint64_t v) { return (v - kOnes) & ~v & kHighs; };
    for (; end - p >= 8; p += 8) {
      std::uint64_t word;
      std::memcpy(&word, p, 8);
      if (const std::uint64_t found = zeroBytes(word ^ as) | zeroBytes(word ^ bs))
        return p + std::countr_zero(found) / 8;
    }
  }
  while (p < end && *p != a && *p != b) ++p;
  return p;
}

}  // namespace zenavo
