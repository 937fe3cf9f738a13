#include "net/json_plain_run.h"

#include "core/cpu_features.h"

#if defined(__x86_64__)
#include <immintrin.h>
#define VYK_JSON_SCAN_X86 1
#endif

namespace {

bool NeedsEscape(unsigned char c) { return c < 0x20 || c == '"' || c == '\\'; }

std::size_t ScalarRunFrom(const char* text, std::size_t i, std::size_t size) {
  while (i < size && !NeedsEscape(static_cast<unsigned char>(text[i]))) ++i;
  return i;
}

std::size_t ScalarRun(const char* text, std::size_t size) { return ScalarRunFrom(text, 0, size); }

#if defined(VYK_JSON_SCAN_X86)
// Both vector scans test a block of bytes the same way: with x ^ 2 the quote (0x22) lands on 0x20
// while the control bytes stay below it, so one unsigned comparison with 0x20 finds both, and a
// second comparison finds the backslash.

// SSE2 is part of every x86-64 processor: sixteen bytes per step.
std::size_t Sse2Run(const char* text, std::size_t size) {
  const __m128i flip = _mm_set1_epi8(2);
  const __m128i space = _mm_set1_epi8(0x20);
  const __m128i backslash = _mm_set1_epi8('\\');
  std::size_t i = 0;
  for (; i + 16 <= size; i += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
    const __m128i low = _mm_cmpeq_epi8(_mm_max_epu8(_mm_xor_si128(bytes, flip), space), space);
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(low, _mm_cmpeq_epi8(bytes, backslash))));
    if (mask != 0) return i + static_cast<std::size_t>(__builtin_ctz(mask));
  }
  return ScalarRunFrom(text, i, size);
}

__attribute__((target("avx2"))) __m256i Avx2Escapes(const char* block) {
  const __m256i space = _mm256_set1_epi8(0x20);
  const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block));
  const __m256i low = _mm256_cmpeq_epi8(_mm256_max_epu8(_mm256_xor_si256(bytes, _mm256_set1_epi8(2)), space), space);
  return _mm256_or_si256(low, _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8('\\')));
}

// Where the processor has AVX2: 128 bytes per test while the text is plain (long strings such as
// image data URLs are), then 32 at a time to place the first escape.
__attribute__((target("avx2"))) std::size_t Avx2Run(const char* text, std::size_t size) {
  std::size_t i = 0;
  for (; i + 128 <= size; i += 128) {
    const __m256i any = _mm256_or_si256(_mm256_or_si256(Avx2Escapes(text + i), Avx2Escapes(text + i + 32)),
                                        _mm256_or_si256(Avx2Escapes(text + i + 64), Avx2Escapes(text + i + 96)));
    if (!_mm256_testz_si256(any, any)) break;
  }
  for (; i + 32 <= size; i += 32) {
    const unsigned mask = static_cast<unsigned>(_mm256_movemask_epi8(Avx2Escapes(text + i)));
    if (mask != 0) return i + static_cast<std::size_t>(__builtin_ctz(mask));
  }
  return ScalarRunFrom(text, i, size);
}

#endif

}  // namespace

std::size_t JsonPlainRunLength(const char* text, std::size_t size) {
#if defined(VYK_JSON_SCAN_X86)
  return CpuHasAvx2() ? Avx2Run(text, size) : Sse2Run(text, size);
#else
  return ScalarRun(text, size);
#endif
}

std::vector<JsonRunScan> JsonPlainRunScans() {
  std::vector<JsonRunScan> scans = {ScalarRun};
#if defined(VYK_JSON_SCAN_X86)
  scans.push_back(Sse2Run);
  if (CpuHasAvx2()) scans.push_back(Avx2Run);
#endif
  return scans;
}
