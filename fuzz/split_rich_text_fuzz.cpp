// Any text splits into well-formed tokens, and whenever a math run comes out, the cheap test for
// the rich path agrees that the text has math.
#include "fuzz/math_fuzz_support.h"
#include "math/rich_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::wstring text = FuzzText(data, size);
  const bool hasMath = ContainsMath(text);
  for (const RichToken& token : SplitRichText(text)) {
    if (token.isMath) {
      FuzzCheck(hasMath && !token.text.empty());
      CheckMathTree(token.tree);
    } else if (token.isNewline) {
      FuzzCheck(token.text.empty());
    } else {
      FuzzCheck(!token.text.empty() && token.text.find(L'\r') == std::wstring::npos);
    }
  }
  return 0;
}
