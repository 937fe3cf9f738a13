#pragma once
// Shared by the math fuzz targets: turning fuzz bytes into UTF-16 text and checking the shape of
// a parsed tree. A broken invariant traps, which libFuzzer reports as a crash.
#include <cstddef>
#include <cstdint>
#include <string>

#include "math/math_node.h"
#include "math/math_parser.h"

// Little-endian UTF-16 code units, lone surrogates included, as the program's wide strings hold.
inline std::wstring FuzzText(const uint8_t* data, size_t size) {
  std::wstring text;
  text.reserve(size / 2);
  for (size_t i = 0; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
  return text;
}

inline void FuzzCheck(bool holds) {
  if (!holds) __builtin_trap();
}

// Every node has the children its kind promises, and nesting stays within the parser's bound.
inline void CheckMathTree(const MathNode& node, int depth = 0) {
  FuzzCheck(depth <= 3 * (kMaxMathNesting + 2));
  switch (node.kind) {
    case MathNodeKind::Fraction: FuzzCheck(node.a && node.b); break;
    case MathNodeKind::Radical:
    case MathNodeKind::Delimited:
    case MathNodeKind::Accent: FuzzCheck(node.a != nullptr); break;
    case MathNodeKind::Scripts: FuzzCheck(node.a && (node.b || node.c)); break;
    case MathNodeKind::Matrix:
      FuzzCheck(node.columns >= 1 && node.children.size() % static_cast<size_t>(node.columns) == 0);
      for (const MathNode& cell : node.children) FuzzCheck(cell.kind == MathNodeKind::Row);
      break;
    case MathNodeKind::Row: FuzzCheck(node.text.empty()); break;
    default: FuzzCheck(node.children.empty()); break;
  }
  for (const MathNode& child : node.children) CheckMathTree(child, depth + 1);
  for (const MathNode* child : {node.a.get(), node.b.get(), node.c.get()}) {
    if (child) CheckMathTree(*child, depth + 1);
  }
}
