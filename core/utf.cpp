#include "core/utf.h"

#include <cstdint>
#include <type_traits>

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr bool kWideIsUtf16 = sizeof(wchar_t) == 2;

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The allowed range of the second byte for a lead byte, which rules out overlong forms,
// surrogates and values above U+10FFFF.
bool SecondByteFits(unsigned char lead, unsigned char second) {
  if (lead == 0xE0) return second >= 0xA0 && second <= 0xBF;
  if (lead == 0xED) return second >= 0x80 && second <= 0x9F;
  if (lead == 0xF0) return second >= 0x90 && second <= 0xBF;
  if (lead == 0xF4) return second >= 0x80 && second <= 0x8F;
  return IsContinuation(second);
}

// Decodes one character at `i` and advances past it; a malformed sequence is consumed up to the
// first byte that cannot belong to it and yields U+FFFD.
char32_t DecodeOne(std::string_view s, size_t& i) {
  const unsigned char lead = static_cast<unsigned char>(s[i++]);
  if (lead < 0x80) return lead;
  size_t extra = 0;
  char32_t cp = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2;
    cp = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3;
    cp = lead & 0x07;
  } else {
    return kReplacement;
  }
  for (size_t k = 0; k < extra; ++k) {
    if (i >= s.size()) return kReplacement;
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const bool fits = k == 0 ? SecondByteFits(lead, c) : IsContinuation(c);
    if (!fits) return kReplacement;
    cp = (cp << 6) | (c & 0x3F);
    ++i;
  }
  return cp;
}

void AppendWide(std::wstring& out, char32_t cp) {
  if (kWideIsUtf16 && cp >= 0x10000) {
    cp -= 0x10000;
    out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
  } else {
    out.push_back(static_cast<wchar_t>(cp));
  }
}

bool IsHighSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Reads one character of wide text at `i` and advances past it.
char32_t ReadWide(std::wstring_view s, size_t& i) {
  const char32_t unit = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(s[i++]));
  if (IsLowSurrogate(unit) || unit > 0x10FFFF) return kReplacement;
  if (!IsHighSurrogate(unit)) return unit;
  if (!kWideIsUtf16 || i >= s.size()) return kReplacement;
  const char32_t low = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(s[i]));
  if (!IsLowSurrogate(low)) return kReplacement;
  ++i;
  return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::wstring Utf8ToWide(std::string_view utf8) {
  std::wstring out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) AppendWide(out, DecodeOne(utf8, i));
  return out;
}

std::string WideToUtf8(std::wstring_view wide) {
  std::string out;
  out.reserve(wide.size());
  for (size_t i = 0; i < wide.size();) AppendUtf8(out, ReadWide(wide, i));
  return out;
}
