// Arbitrary bytes through the JSON reader, the quoter and the UTF-8 conversion: no crash, no
// undefined behaviour, and a quoted string always reads back as a string.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/utf.h"
#include "net/json.h"

namespace {

bool HasBreakingControlByte(const std::string& s) {
  for (char c : s) {
    if (c == '\b' || c == '\t' || c == '\n' || c == '\f' || c == '\r') return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const JsonValue value = JsonParse(bytes);
  (void)JsonFind(value, "answer");

  const JsonValue quoted = JsonParse(JsonQuote(bytes));
  if (quoted.type != JsonValue::String) std::abort();
  // Escaped control characters before a letter read back as LaTeX commands; everything else is exact.
  if (!HasBreakingControlByte(bytes) && quoted.string != bytes) std::abort();

  const std::string again = WideToUtf8(Utf8ToWide(bytes));
  if (WideToUtf8(Utf8ToWide(again)) != again) std::abort();
  return 0;
}
