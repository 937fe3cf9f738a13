// Rows, scripts, atoms and the low-level readers of the math parser. Commands and environments
// are in math_commands.cpp.
#include "math/math_parser.h"

#include "math/math_chars.h"

namespace {

bool IsIgnoredCommand(std::wstring_view name) {
  return name == L"!" || name == L"displaystyle" || name == L"textstyle" || name == L"limits" ||
         name == L"nolimits" || name == L"big" || name == L"Big" || name == L"bigg" || name == L"Bigg";
}

std::unique_ptr<MathNode> Own(std::optional<MathNode> node) {
  return node ? std::make_unique<MathNode>(std::move(*node)) : nullptr;
}

}  // namespace

// Counts one level of nesting for as long as it lives.
class MathParser::NestingGuard {
 public:
  explicit NestingGuard(MathParser& parser) : parser_(parser) { ++parser_.depth_; }
  ~NestingGuard() { --parser_.depth_; }
  NestingGuard(const NestingGuard&) = delete;
  NestingGuard& operator=(const NestingGuard&) = delete;
  bool TooDeep() const { return parser_.depth_ > kMaxMathNesting; }

 private:
  MathParser& parser_;
};

MathNode MathParser::ParseRow(std::wstring_view terminator) {
  MathNode row;
  const bool nested = !terminator.empty();
  while (true) {
    SkipSpace();
    if (AtEnd()) break;
    if (nested && (AtTerminator(terminator) || Peek() == L'}')) break;
    AppendScripted(row);
  }
  return row;
}

// One scripted item onto `row`; when there is none and nothing was read, skips one character so
// that every loop over items progresses.
void MathParser::AppendScripted(MathNode& row) {
  const size_t before = pos_;
  std::optional<MathNode> item = ParseScripted();
  if (item) {
    row.children.push_back(std::move(*item));
  } else if (pos_ == before) {
    pos_ += CharLengthAt(src_, pos_);
  }
}

std::optional<MathNode> MathParser::ParseScripted() {
  std::optional<MathNode> atom = ParseAtom();
  if (!atom) return std::nullopt;
  const bool bigOperator = atom->kind == MathNodeKind::BigOperator;
  std::optional<MathNode> sub;
  std::optional<MathNode> sup;
  while (true) {
    SkipSpace();
    if (bigOperator && ConsumeLimitsMarker()) continue;
    if (Consume(L"_")) {
      sub = ParseArgument();
    } else if (Consume(L"^")) {
      sup = ParseArgument();
    } else {
      break;
    }
  }
  if (!sub && !sup) return atom;
  if (bigOperator) {
    atom->b = Own(std::move(sub));
    atom->c = Own(std::move(sup));
    return atom;
  }
  MathNode scripts(MathNodeKind::Scripts);
  scripts.a = Own(std::move(atom));
  scripts.b = Own(std::move(sub));
  scripts.c = Own(std::move(sup));
  return scripts;
}

// \limits and \nolimits right after a big operator are markers only: the scripts written after
// them still belong to the operator.
bool MathParser::ConsumeLimitsMarker() {
  for (std::wstring_view marker : {std::wstring_view(L"\\limits"), std::wstring_view(L"\\nolimits")}) {
    if (AtTerminator(marker)) {
      pos_ += marker.size();
      return true;
    }
  }
  return false;
}

// A command argument or a script: an empty row at the end, else one atom (a braced group is one).
MathNode MathParser::ParseArgument() {
  SkipSpace();
  std::optional<MathNode> atom = ParseAtom();
  return atom ? std::move(*atom) : MathNode();
}

std::optional<MathNode> MathParser::ParseAtom() {
  NestingGuard guard(*this);
  while (true) {
    SkipSpace();
    if (AtEnd()) return std::nullopt;
    if (guard.TooDeep()) return RestAsText();
    const wchar_t c = Peek();
    if (c == L'{') return ParseBracedGroup();
    if (IsMathDigit(c) || (c == L'.' && IsMathDigit(Peek(1)))) return ParseNumber();
    if (c != L'\\') return ParseCharacter();
    const std::wstring name = ReadCommandName();
    if (name.empty()) return std::nullopt;
    // Style and sizing commands draw nothing of their own: the atom is whatever follows.
    if (IsIgnoredCommand(name)) continue;
    return ParseCommand(name);
  }
}

MathNode MathParser::ParseBracedGroup() {
  Consume(L"{");
  MathNode row = ParseRow(L"}");
  Consume(L"}");
  return row;
}

MathNode MathParser::ParseNumber() {
  const size_t start = pos_;
  while (!AtEnd() && (IsMathDigit(Peek()) || Peek() == L'.')) ++pos_;
  return MathNode(MathNodeKind::Number, std::wstring(src_.substr(start, pos_ - start)));
}

MathNode MathParser::ParseCharacter() {
  const CodePoint cp = CodePointAt(src_, pos_);
  std::wstring text(src_.substr(pos_, cp.length));
  pos_ += cp.length;
  switch (cp.value) {
    case U'\'':
      return MathNode(MathNodeKind::Number, L"\u2032");
    case U'-':
      return MathNode(MathNodeKind::Operator, L"\u2212");
    case U'+':
    case U'<':
    case U'=':
    case U'>':
      return MathNode(MathNodeKind::Operator, std::move(text));
    default:
      break;
  }
  const MathNodeKind kind = IsMathLetter(cp.value) ? MathNodeKind::Identifier : MathNodeKind::Number;
  return MathNode(kind, std::move(text));
}

// Past the allowed nesting the remainder of the run is shown as it was written.
MathNode MathParser::RestAsText() {
  MathNode text(MathNodeKind::Text, std::wstring(src_.substr(pos_)));
  pos_ = src_.size();
  return text;
}

std::wstring MathParser::ReadCommandName() {
  Consume(L"\\");
  if (AtEnd()) return {};
  const size_t end = LetterRunEnd(src_, pos_);
  const size_t length = end > pos_ ? end - pos_ : CharLengthAt(src_, pos_);
  std::wstring name(src_.substr(pos_, length));
  pos_ += length;
  return name;
}

std::wstring MathParser::ReadBracedRaw() {
  SkipSpace();
  if (!Consume(L"{")) return {};
  std::wstring raw;
  int open = 1;
  while (!AtEnd()) {
    const wchar_t c = src_[pos_++];
    if (c == L'\\' && !AtEnd()) {
      // An escaped brace is text, not structure.
      raw += c;
      raw += src_[pos_++];
      continue;
    }
    if (c == L'{') ++open;
    if (c == L'}' && --open == 0) break;
    raw += c;
  }
  return raw;
}

void MathParser::SkipSpace() {
  while (!AtEnd() && IsMathSpace(static_cast<char32_t>(Peek()))) ++pos_;
}

bool MathParser::StartsWith(std::wstring_view literal) const { return src_.substr(pos_).starts_with(literal); }

bool MathParser::Consume(std::wstring_view literal) {
  if (!StartsWith(literal)) return false;
  pos_ += literal.size();
  return true;
}

// A terminator that ends in a letter must not run on into a longer command name, so the content
// of \left ... \right is not cut short by \rightarrow.
bool MathParser::AtTerminator(std::wstring_view terminator) const {
  if (!StartsWith(terminator)) return false;
  const size_t after = pos_ + terminator.size();
  const bool endsInLetter = IsMathLetter(static_cast<char32_t>(terminator.back()));
  return !endsInLetter || after >= src_.size() || !IsMathLetter(CodePointAt(src_, after).value);
}
