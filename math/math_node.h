#pragma once
// The parsed form of math markup: a tree of MathNode, and the tokens of a text that mixes words
// and math runs. Metrics are zero after parsing; layout fills them in.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum class MathNodeKind : int32_t {
  Row = 0,          // children = items left to right
  Identifier = 1,   // text = one letter, or a table symbol that is not an operator symbol
  Number = 2,       // text = digits and dots, a prime, or any other single character
  Operator = 3,     // text = the operator glyph
  Text = 4,         // text = upright text (text commands, function names, unknown commands)
  Space = 5,        // text = the spacing command's name
  Fraction = 6,     // a = numerator, b = denominator; text "nobar" for a binomial
  Radical = 7,      // a = radicand, b = index (optional)
  Scripts = 8,      // a = base, b = subscript, c = superscript (at least one script)
  BigOperator = 9,  // text = the operator glyph or "lim"; b = lower limit, c = upper limit
  Delimited = 10,   // a = content; leftDelim, rightDelim
  Accent = 11,      // text = accent command name; a = base
  Matrix = 12,      // children = rows x columns cells, each a Row; leftDelim, rightDelim, columns
};

// How far a measured node's drawing can reach from its origin (the left edge of its box, on its
// baseline): its box grown by the room its glyphs and strokes may stray outside it, and all that its
// descendants draw, wherever they stick out of the box (a radical's index, tall scripts).
struct MathInk {
  float left = 0;   // from the origin, rightwards
  float right = 0;  // from the origin, rightwards
  float above = 0;  // up from the baseline
  float below = 0;  // down from the baseline
};

struct MathNode {
  MathNodeKind kind = MathNodeKind::Row;
  std::wstring text;
  std::wstring leftDelim;
  std::wstring rightDelim;
  std::vector<MathNode> children;
  std::unique_ptr<MathNode> a;
  std::unique_ptr<MathNode> b;
  std::unique_ptr<MathNode> c;
  int32_t columns = 0;
  float width = 0;
  float ascent = 0;
  float descent = 0;
  MathInk ink;

  MathNode() = default;
  explicit MathNode(MathNodeKind k, std::wstring t = {}) : kind(k), text(std::move(t)) {}
  MathNode(MathNode&&) noexcept = default;
  MathNode& operator=(MathNode&&) noexcept = default;
};

// One token of a text that mixes words and math. The token list owns the parsed trees.
struct RichToken {
  bool isMath = false;
  bool display = false;    // $$...$$ or \[...\]: centred on a line of its own
  bool isNewline = false;  // from a line feed
  std::wstring text;       // the word; " " for a space; the math source for a math run
  MathNode tree;           // math runs only: the parsed run (a Row)
  float width = 0;
  float ascent = 0;
  float descent = 0;
  // How far its drawing reaches above and below its baseline: a math run's ink, a word's glyph box.
  float inkAbove = 0;
  float inkBelow = 0;
};
