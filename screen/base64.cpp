#include "screen/base64.h"

#include <array>
#include <cstring>

#include "core/cpu_features.h"

#if defined(__x86_64__)
#include <immintrin.h>
#define VYK_BASE64_AVX2 1
#endif

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Every 12-bit value as its two output characters, so a group of three bytes costs two lookups.
struct PairTable {
  std::array<char, 4096 * 2> chars{};
  constexpr PairTable() {
    for (int value = 0; value < 4096; ++value) {
      chars[value * 2] = kAlphabet[value >> 6];
      chars[value * 2 + 1] = kAlphabet[value & 63];
    }
  }
};
constexpr PairTable kPairs;

inline void PutPair(char* out, std::uint32_t value12) { std::memcpy(out, &kPairs.chars[value12 * 2], 2); }

// Whole groups of three bytes from `i` on, four characters each; returns where it stopped.
std::size_t EncodeGroups(const std::uint8_t* data, std::size_t i, std::size_t size, char* dest) {
  for (; i + 3 <= size; i += 3, dest += 4) {
    const std::uint32_t group = (std::uint32_t{data[i]} << 16) | (std::uint32_t{data[i + 1]} << 8) | data[i + 2];
    PutPair(dest, group >> 12);
    PutPair(dest + 2, group & 0xFFF);
  }
  return i;
}

#if defined(VYK_BASE64_AVX2)
// 24 bytes to 32 characters per step, in the well-known vector scheme: each lane takes twelve
// bytes, spreads every group of three over 32 bits, moves the four 6-bit fields into four bytes
// with two multiplications, and turns each field into its letter by adding the offset of its
// range of the alphabet (A-Z, a-z, 0-9, '+', '/'), looked up with one byte shuffle.
__attribute__((target("avx2"))) std::size_t EncodeGroupsAvx2(const std::uint8_t* data, std::size_t size, char* dest) {
  const __m256i spread = _mm256_setr_epi8(1, 0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10,  //
                                          1, 0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10);
  const __m256i offsets = _mm256_setr_epi8('a' - 26, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52,
                                           '0' - 52, '0' - 52, '0' - 52, '0' - 52, '+' - 62, '/' - 63, 'A', 0, 0,
                                           'a' - 26, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52,
                                           '0' - 52, '0' - 52, '0' - 52, '0' - 52, '+' - 62, '/' - 63, 'A', 0, 0);
  std::size_t i = 0;
  // Each lane loads sixteen bytes and uses twelve, so four bytes past the step must exist.
  for (; i + 28 <= size; i += 24, dest += 32) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + 12));
    const __m256i bytes = _mm256_shuffle_epi8(_mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1), spread);
    const __m256i upper = _mm256_mulhi_epu16(_mm256_and_si256(bytes, _mm256_set1_epi32(0x0FC0FC00)),
                                             _mm256_set1_epi32(0x04000040));
    const __m256i lower = _mm256_mullo_epi16(_mm256_and_si256(bytes, _mm256_set1_epi32(0x003F03F0)),
                                             _mm256_set1_epi32(0x01000010));
    const __m256i fields = _mm256_or_si256(upper, lower);
    // Range index: 0 for 26..51, 13 for 0..25, 1..10 for the digits, 11 for 62, 12 for 63.
    __m256i range = _mm256_subs_epu8(fields, _mm256_set1_epi8(51));
    const __m256i capital = _mm256_cmpgt_epi8(_mm256_set1_epi8(26), fields);
    range = _mm256_or_si256(range, _mm256_and_si256(capital, _mm256_set1_epi8(13)));
    const __m256i letters = _mm256_add_epi8(fields, _mm256_shuffle_epi8(offsets, range));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest), letters);
  }
  return i;
}
#endif

}  // namespace

std::string Base64Encode(const std::uint8_t* data, std::size_t size) {
  std::string out;
  AppendBase64(out, data, size);
  return out;
}

void AppendBase64(std::string& out, const std::uint8_t* data, std::size_t size) {
  const std::size_t start = out.size();
  out.resize(start + (size + 2) / 3 * 4);
  char* const text = out.data() + start;
  std::size_t i = 0;
#if defined(VYK_BASE64_AVX2)
  if (CpuHasAvx2()) i = EncodeGroupsAvx2(data, size, text);
#endif
  i = EncodeGroups(data, i, size, text + i / 3 * 4);
  const std::size_t rest = size - i;
  if (rest == 0) return;
  char* const dest = text + i / 3 * 4;
  const std::uint32_t group = (std::uint32_t{data[i]} << 16) | (rest == 2 ? std::uint32_t{data[i + 1]} << 8 : 0);
  PutPair(dest, group >> 12);
  dest[2] = rest == 2 ? kAlphabet[(group >> 6) & 63] : '=';
  dest[3] = '=';
}
