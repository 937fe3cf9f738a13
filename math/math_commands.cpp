// Backslash commands and environments of the math parser.
#include <algorithm>
#include <vector>

#include "math/math_chars.h"
#include "math/math_parser.h"
#include "math/math_symbols.h"

namespace {

bool IsOneOf(std::wstring_view name, std::initializer_list<std::wstring_view> names) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

const wchar_t* BigOperatorGlyph(std::wstring_view name) {
  if (name == L"int") return L"\u222B";
  if (name == L"iint") return L"\u222C";
  if (name == L"iiint") return L"\u222D";
  if (name == L"oint") return L"\u222E";
  if (name == L"sum") return L"\u2211";
  if (name == L"prod") return L"\u220F";
  if (name == L"lim") return L"lim";
  return nullptr;
}

// The spacing commands. A backslash before any blank (space, tab, line break) is a control space
// named by that blank.
bool IsSpaceCommand(std::wstring_view name) {
  if (name.size() == 1 && IsMathSpace(static_cast<char32_t>(name[0]))) return true;
  return IsOneOf(name, {L",", L";", L":", L"quad", L"qquad"});
}

bool IsTextCommand(std::wstring_view name) {
  return IsOneOf(name, {L"text", L"textrm", L"mathrm", L"mathbf", L"operatorname", L"mathbb", L"mathcal"});
}

// Backslash-escapes of $ % & # _ become the bare character; other backslashes stay.
std::wstring UnescapeText(std::wstring_view raw) {
  std::wstring text;
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == L'\\' && i + 1 < raw.size() && std::wstring_view(L"$%&#_").find(raw[i + 1]) != std::wstring_view::npos) {
      ++i;
    }
    text += raw[i];
  }
  return text;
}

std::wstring DoubleStruck(std::wstring text) {
  if (text.size() != 1) return text;
  switch (text[0]) {
    case L'R': return L"\u211D";
    case L'N': return L"\u2115";
    case L'Z': return L"\u2124";
    case L'Q': return L"\u211A";
    case L'C': return L"\u2102";
    default: return text;
  }
}

struct MatrixDelimiters {
  const wchar_t* left;
  const wchar_t* right;
};

MatrixDelimiters EnvironmentDelimiters(std::wstring_view name) {
  if (name == L"pmatrix") return {L"(", L")"};
  if (name == L"bmatrix") return {L"[", L"]"};
  if (name == L"Bmatrix") return {L"{", L"}"};
  if (name == L"vmatrix") return {L"|", L"|"};
  if (name == L"Vmatrix") return {L"\u2016", L"\u2016"};
  if (name == L"cases") return {L"{", L""};
  return {L"", L""};
}

MathNode SymbolNode(std::wstring_view symbol) {
  const MathNodeKind kind = IsOperatorSymbol(symbol) ? MathNodeKind::Operator : MathNodeKind::Identifier;
  return MathNode(kind, std::wstring(symbol));
}

std::unique_ptr<MathNode> Own(MathNode node) { return std::make_unique<MathNode>(std::move(node)); }

}  // namespace

std::optional<MathNode> MathParser::ParseCommand(const std::wstring& name) {
  if (IsOneOf(name, {L"frac", L"dfrac", L"tfrac", L"cfrac"})) {
    MathNode fraction(MathNodeKind::Fraction);
    fraction.a = Own(ParseArgument());
    fraction.b = Own(ParseArgument());
    return fraction;
  }
  if (IsOneOf(name, {L"binom", L"dbinom", L"tbinom"})) {
    MathNode fraction(MathNodeKind::Fraction, L"nobar");
    fraction.a = Own(ParseArgument());
    fraction.b = Own(ParseArgument());
    MathNode delimited(MathNodeKind::Delimited);
    delimited.leftDelim = L"(";
    delimited.rightDelim = L")";
    delimited.a = Own(std::move(fraction));
    return delimited;
  }
  if (name == L"sqrt") return ParseRadical();
  if (name == L"left") return ParseLeftRight();
  if (name == L"begin") return ParseEnvironment(ReadBracedRaw());
  if (const wchar_t* glyph = BigOperatorGlyph(name)) return MathNode(MathNodeKind::BigOperator, glyph);
  if (IsOneOf(name, {L"vec", L"hat", L"bar", L"overline", L"dot", L"tilde"})) {
    MathNode accent(MathNodeKind::Accent, name);
    accent.a = Own(ParseArgument());
    return accent;
  }
  if (IsTextCommand(name)) return ParseTextCommand(name);
  if (IsSpaceCommand(name)) return MathNode(MathNodeKind::Space, name);
  if (IsFunctionName(name)) return MathNode(MathNodeKind::Text, name);
  if (std::optional<std::wstring_view> symbol = LookupSymbol(name)) return SymbolNode(*symbol);
  return MathNode(MathNodeKind::Text, name);
}

MathNode MathParser::ParseRadical() {
  MathNode radical(MathNodeKind::Radical);
  SkipSpace();
  if (Consume(L"[")) {
    radical.b = Own(ParseRow(L"]"));
    Consume(L"]");
  }
  radical.a = Own(ParseArgument());
  return radical;
}

MathNode MathParser::ParseLeftRight() {
  constexpr std::wstring_view kRight = L"\\right";
  MathNode delimited(MathNodeKind::Delimited);
  delimited.leftDelim = ReadDelimiter();
  delimited.a = Own(ParseRow(kRight));
  if (AtTerminator(kRight)) {
    pos_ += kRight.size();
    delimited.rightDelim = ReadDelimiter();
  }
  return delimited;
}

MathNode MathParser::ParseTextCommand(const std::wstring& name) {
  std::wstring text = UnescapeText(ReadBracedRaw());
  if (name == L"mathbb") text = DoubleStruck(std::move(text));
  return MathNode(MathNodeKind::Text, std::move(text));
}

std::wstring MathParser::ReadDelimiter() {
  SkipSpace();
  if (AtEnd()) return {};
  if (Consume(L".")) return {};
  if (Peek() != L'\\') {
    const size_t length = CharLengthAt(src_, pos_);
    std::wstring delimiter(src_.substr(pos_, length));
    pos_ += length;
    return delimiter;
  }
  const std::wstring name = ReadCommandName();
  if (name == L"{" || name == L"}") return name;
  if (name == L"|" || name == L"Vert") return L"\u2016";
  if (name == L"vert") return L"|";
  if (std::optional<std::wstring_view> symbol = LookupSymbol(name)) return std::wstring(*symbol);
  return {};
}

MathNode MathParser::ParseEnvironment(const std::wstring& name) {
  const MatrixDelimiters delimiters = EnvironmentDelimiters(name);
  MathNode matrix(MathNodeKind::Matrix);
  matrix.leftDelim = delimiters.left;
  matrix.rightDelim = delimiters.right;

  const std::wstring endMarker = L"\\end{" + name + L"}";
  std::vector<std::vector<MathNode>> rows;
  while (true) {
    SkipSpace();
    if (AtEnd() || Consume(endMarker)) break;
    rows.emplace_back();
    ParseMatrixRow(endMarker, rows.back());
  }
  while (!rows.empty() && rows.back().empty()) rows.pop_back();

  size_t columns = 1;
  for (const auto& row : rows) columns = std::max(columns, row.size());
  matrix.columns = static_cast<int32_t>(columns);
  for (auto& row : rows) {
    row.resize(columns);
    for (MathNode& cell : row) matrix.children.push_back(std::move(cell));
  }
  return matrix;
}

// Reads the cells of one row, up to a double backslash, the end marker or the end of the source.
void MathParser::ParseMatrixRow(const std::wstring& endMarker, std::vector<MathNode>& cells) {
  cells.emplace_back();
  while (true) {
    SkipSpace();
    if (AtEnd() || StartsWith(endMarker)) return;
    if (Consume(L"&")) {
      cells.emplace_back();
      continue;
    }
    if (Consume(L"\\\\")) return;
    AppendScripted(cells.back());
  }
}
