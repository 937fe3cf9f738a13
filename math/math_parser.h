#pragma once
// Parses one math run (the text between its delimiters) into a tree of MathNode.
// Parsing never fails: every input gives a tree. Unknown commands show their own name, missing
// arguments are empty rows, and an unfinished construct ends at the end of the run.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "math/math_node.h"

// How deeply constructs may nest (braces, arguments, scripts, \left groups, environments). Beyond
// it the rest of the run is kept as upright text, so hostile input cannot exhaust the stack of the
// parser or of the layout and drawing that walk the tree.
inline constexpr int kMaxMathNesting = 32;

class MathParser {
 public:
  // `source` must outlive the parser; the parser never looks outside it.
  explicit MathParser(std::wstring_view source) : src_(source) {}

  // Items until the end of the source, or until `terminator` (not consumed; empty = none), or
  // until a `}` inside a group. The top level of a run is ParseRow() from position 0, where a
  // stray `}` is shown as itself.
  MathNode ParseRow(std::wstring_view terminator = {});

  size_t position() const { return pos_; }

 private:
  class NestingGuard;

  std::optional<MathNode> ParseScripted();
  std::optional<MathNode> ParseAtom();
  MathNode ParseArgument();
  MathNode ParseBracedGroup();
  MathNode ParseNumber();
  MathNode ParseCharacter();
  std::optional<MathNode> ParseCommand(const std::wstring& name);
  MathNode ParseRadical();
  MathNode ParseLeftRight();
  MathNode ParseTextCommand(const std::wstring& name);
  MathNode ParseEnvironment(const std::wstring& name);
  void AppendScripted(MathNode& row);
  void ParseMatrixRow(const std::wstring& endMarker, std::vector<MathNode>& cells);
  MathNode RestAsText();

  std::wstring ReadCommandName();
  std::wstring ReadBracedRaw();
  std::wstring ReadDelimiter();
  bool ConsumeLimitsMarker();
  void SkipSpace();
  bool Consume(std::wstring_view literal);
  bool StartsWith(std::wstring_view literal) const;
  bool AtTerminator(std::wstring_view terminator) const;
  bool AtEnd() const { return pos_ >= src_.size(); }
  wchar_t Peek(size_t ahead = 0) const { return pos_ + ahead < src_.size() ? src_[pos_ + ahead] : L'\0'; }

  std::wstring_view src_;
  size_t pos_ = 0;
  int depth_ = 0;
};
