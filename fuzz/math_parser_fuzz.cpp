// Any math run parses to a well-formed tree, consuming the whole run.
#include "fuzz/math_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::wstring source = FuzzText(data, size);
  MathParser parser(source);
  const MathNode tree = parser.ParseRow();
  FuzzCheck(tree.kind == MathNodeKind::Row);
  FuzzCheck(parser.position() == source.size());
  CheckMathTree(tree);
  return 0;
}
