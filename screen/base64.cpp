#include "screen/base64.h"

#include <array>
#include <cstring>

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

}  // namespace

std::string Base64Encode(const std::uint8_t* data, std::size_t size) {
  std::string out((size + 2) / 3 * 4, '\0');
  char* dest = out.data();
  std::size_t i = 0;
  for (; i + 3 <= size; i += 3, dest += 4) {
    const std::uint32_t group = (std::uint32_t{data[i]} << 16) | (std::uint32_t{data[i + 1]} << 8) | data[i + 2];
    PutPair(dest, group >> 12);
    PutPair(dest + 2, group & 0xFFF);
  }
  const std::size_t rest = size - i;
  if (rest == 0) return out;
  const std::uint32_t group = (std::uint32_t{data[i]} << 16) | (rest == 2 ? std::uint32_t{data[i + 1]} << 8 : 0);
  PutPair(dest, group >> 12);
  dest[2] = rest == 2 ? kAlphabet[(group >> 6) & 63] : '=';
  dest[3] = '=';
  return out;
}
