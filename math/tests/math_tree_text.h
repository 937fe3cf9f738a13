#pragma once
// A compact text form of a parsed math tree, so tests can state whole trees in one line:
//   Row [a b]   Identifier id:x   Number num:2   Operator op:=   Text text:sin   Space space:quad
//   frac(A,B)   binom(A,B) for a "nobar" fraction   sqrt(A) / sqrt[B](A)   scripts(A,B,C)
//   big:∑(B,C)  delim<(,)>(A)   vec(A)   matrix<(,)>2[A;B;C;D]   a missing optional child is "-".
#include <string>

#include "math/math_node.h"
#include "math/math_parser.h"

inline std::wstring TreeText(const MathNode* node);

inline std::wstring TreeText(const MathNode& node) {
  auto list = [](const std::vector<MathNode>& items, const wchar_t* separator) {
    std::wstring out;
    for (size_t i = 0; i < items.size(); ++i) out += (i ? separator : L"") + TreeText(items[i]);
    return out;
  };
  auto delims = [&] { return L"<" + node.leftDelim + L"," + node.rightDelim + L">"; };
  switch (node.kind) {
    case MathNodeKind::Row: return L"[" + list(node.children, L" ") + L"]";
    case MathNodeKind::Identifier: return L"id:" + node.text;
    case MathNodeKind::Number: return L"num:" + node.text;
    case MathNodeKind::Operator: return L"op:" + node.text;
    case MathNodeKind::Text: return L"text:" + node.text;
    case MathNodeKind::Space: return L"space:" + node.text;
    case MathNodeKind::Fraction:
      return (node.text == L"nobar" ? L"binom(" : L"frac(") + TreeText(node.a.get()) + L"," + TreeText(node.b.get()) + L")";
    case MathNodeKind::Radical:
      return L"sqrt" + (node.b ? L"[" + TreeText(node.b.get()) + L"]" : L"") + L"(" + TreeText(node.a.get()) + L")";
    case MathNodeKind::Scripts:
      return L"scripts(" + TreeText(node.a.get()) + L"," + TreeText(node.b.get()) + L"," + TreeText(node.c.get()) + L")";
    case MathNodeKind::BigOperator:
      if (!node.b && !node.c) return L"big:" + node.text;
      return L"big:" + node.text + L"(" + TreeText(node.b.get()) + L"," + TreeText(node.c.get()) + L")";
    case MathNodeKind::Delimited: return L"delim" + delims() + L"(" + TreeText(node.a.get()) + L")";
    case MathNodeKind::Accent: return node.text + L"(" + TreeText(node.a.get()) + L")";
    case MathNodeKind::Matrix:
      return L"matrix" + delims() + std::to_wstring(node.columns) + L"[" + list(node.children, L";") + L"]";
  }
  return L"?";
}

inline std::wstring TreeText(const MathNode* node) { return node ? TreeText(*node) : L"-"; }

// The tree of one math run, in text form.
inline std::wstring ParsedText(std::wstring_view source) { return TreeText(MathParser(source).ParseRow()); }
