#include "math/math_symbols.h"

#include <unordered_map>
#include <unordered_set>

namespace {

constexpr MathSymbolEntry kSymbols[] = {
    // Greek small letters
    {L"alpha", L"\u03B1"}, {L"beta", L"\u03B2"}, {L"gamma", L"\u03B3"}, {L"delta", L"\u03B4"},
    {L"epsilon", L"\u03B5"}, {L"varepsilon", L"\u03B5"}, {L"zeta", L"\u03B6"}, {L"eta", L"\u03B7"},
    {L"theta", L"\u03B8"}, {L"vartheta", L"\u03D1"}, {L"iota", L"\u03B9"}, {L"kappa", L"\u03BA"},
    {L"lambda", L"\u03BB"}, {L"mu", L"\u03BC"}, {L"nu", L"\u03BD"}, {L"xi", L"\u03BE"},
    {L"pi", L"\u03C0"}, {L"varpi", L"\u03D6"}, {L"rho", L"\u03C1"}, {L"varrho", L"\u03F1"},
    {L"sigma", L"\u03C3"}, {L"varsigma", L"\u03C2"}, {L"tau", L"\u03C4"}, {L"upsilon", L"\u03C5"},
    {L"phi", L"\u03C6"}, {L"varphi", L"\u03C6"}, {L"chi", L"\u03C7"}, {L"psi", L"\u03C8"},
    {L"omega", L"\u03C9"},
    // Greek capital letters
    {L"Gamma", L"\u0393"}, {L"Delta", L"\u0394"}, {L"Theta", L"\u0398"}, {L"Lambda", L"\u039B"},
    {L"Xi", L"\u039E"}, {L"Pi", L"\u03A0"}, {L"Sigma", L"\u03A3"}, {L"Upsilon", L"\u03A5"},
    {L"Phi", L"\u03A6"}, {L"Psi", L"\u03A8"}, {L"Omega", L"\u03A9"},
    // Operators
    {L"pm", L"\u00B1"}, {L"mp", L"\u2213"}, {L"times", L"\u00D7"}, {L"cdot", L"\u00B7"},
    {L"div", L"\u00F7"}, {L"ast", L"\u2217"}, {L"star", L"\u22C6"}, {L"circ", L"\u2218"},
    {L"bullet", L"\u2022"}, {L"oplus", L"\u2295"}, {L"otimes", L"\u2297"},
    // Relations
    {L"le", L"\u2264"}, {L"leq", L"\u2264"}, {L"ge", L"\u2265"}, {L"geq", L"\u2265"},
    {L"ne", L"\u2260"}, {L"neq", L"\u2260"}, {L"approx", L"\u2248"}, {L"equiv", L"\u2261"},
    {L"sim", L"\u223C"}, {L"simeq", L"\u2243"}, {L"cong", L"\u2245"}, {L"propto", L"\u221D"},
    {L"ll", L"\u226A"}, {L"gg", L"\u226B"},
    // Calculus and logic
    {L"infty", L"\u221E"}, {L"partial", L"\u2202"}, {L"nabla", L"\u2207"}, {L"forall", L"\u2200"},
    {L"exists", L"\u2203"}, {L"neg", L"\u00AC"}, {L"lnot", L"\u00AC"}, {L"land", L"\u2227"},
    {L"lor", L"\u2228"},
    // Sets
    {L"in", L"\u2208"}, {L"notin", L"\u2209"}, {L"subset", L"\u2282"}, {L"subseteq", L"\u2286"},
    {L"supset", L"\u2283"}, {L"supseteq", L"\u2287"}, {L"cup", L"\u222A"}, {L"cap", L"\u2229"},
    {L"emptyset", L"\u2205"}, {L"varnothing", L"\u2205"},
    // Arrows
    {L"to", L"\u2192"}, {L"rightarrow", L"\u2192"}, {L"leftarrow", L"\u2190"},
    {L"leftrightarrow", L"\u2194"}, {L"Rightarrow", L"\u21D2"}, {L"implies", L"\u21D2"},
    {L"Leftarrow", L"\u21D0"}, {L"Leftrightarrow", L"\u21D4"}, {L"iff", L"\u21D4"},
    {L"mapsto", L"\u21A6"},
    // Geometry and miscellany
    {L"therefore", L"\u2234"}, {L"because", L"\u2235"}, {L"angle", L"\u2220"}, {L"perp", L"\u22A5"},
    {L"parallel", L"\u2225"}, {L"triangle", L"\u25B3"}, {L"degree", L"\u00B0"}, {L"prime", L"\u2032"},
    {L"ldots", L"\u2026"}, {L"dots", L"\u2026"}, {L"cdots", L"\u22EF"}, {L"Re", L"\u211C"},
    {L"Im", L"\u2111"}, {L"aleph", L"\u2135"}, {L"hbar", L"\u210F"},
    // Brackets
    {L"langle", L"\u27E8"}, {L"rangle", L"\u27E9"}, {L"lfloor", L"\u230A"}, {L"rfloor", L"\u230B"},
    {L"lceil", L"\u2308"}, {L"rceil", L"\u2309"},
    // Escaped characters
    {L"{", L"{"}, {L"}", L"}"}, {L"%", L"%"}, {L"&", L"&"}, {L"#", L"#"}, {L"$", L"$"}, {L"_", L"_"},
};

constexpr std::wstring_view kFunctionNames[] = {
    L"sin", L"cos",  L"tan", L"csc", L"sec", L"cot", L"arcsin", L"arccos", L"arctan", L"sinh",
    L"cosh", L"tanh", L"ln", L"log", L"exp", L"det", L"dim",    L"gcd",    L"lcm",    L"max",
    L"min", L"sup",  L"inf", L"arg", L"deg", L"mod", L"bmod",   L"pmod",
};

constexpr std::wstring_view kOperatorSymbols[] = {
    L"=",      L"+",      L"\u2212", L"\u00B1", L"\u2213", L"\u00D7", L"\u00F7",
    L"\u2264", L"\u2265", L"\u2260", L"\u2248", L"\u2261", L"\u2192", L"\u21D2",
    L"\u21D4", L"<",      L">",      L"\u2208", L"\u2209", L"\u222A", L"\u2229",
};

// Built once, on first use (thread-safe static initialisation), and never changed.
const std::unordered_map<std::wstring_view, std::wstring_view>& SymbolMap() {
  static const std::unordered_map<std::wstring_view, std::wstring_view> map = [] {
    std::unordered_map<std::wstring_view, std::wstring_view> m;
    for (const MathSymbolEntry& e : kSymbols) m.emplace(e.name, e.symbol);
    return m;
  }();
  return map;
}

const std::unordered_set<std::wstring_view>& FunctionSet() {
  static const std::unordered_set<std::wstring_view> set(std::begin(kFunctionNames), std::end(kFunctionNames));
  return set;
}

const std::unordered_set<std::wstring_view>& OperatorSet() {
  static const std::unordered_set<std::wstring_view> set(std::begin(kOperatorSymbols), std::end(kOperatorSymbols));
  return set;
}

}  // namespace

std::optional<std::wstring_view> LookupSymbol(std::wstring_view name) {
  const auto& map = SymbolMap();
  const auto it = map.find(name);
  if (it == map.end()) return std::nullopt;
  return it->second;
}

bool IsFunctionName(std::wstring_view name) { return FunctionSet().count(name) != 0; }

bool IsOperatorSymbol(std::wstring_view symbol) { return OperatorSet().count(symbol) != 0; }

std::span<const MathSymbolEntry> MathSymbolTable() { return kSymbols; }
std::span<const std::wstring_view> MathFunctionNames() { return kFunctionNames; }
std::span<const std::wstring_view> MathOperatorSymbols() { return kOperatorSymbols; }
