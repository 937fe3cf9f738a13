#include "net/json.h"

#include "core/utf.h"
#include "net/json_plain_run.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kMaxDepth = 64;

bool IsJsonBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsNumberByte(char c) {
  return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

constexpr uint32_t kReplacementChar = 0xFFFD;

// One pass over the bytes; every method returns false on a syntax error, and the caller then
// discards whatever was built.
class Reader {
 public:
  Reader(const char* begin, const char* end) : p_(begin), end_(end) {}

  bool ParseDocument(JsonValue& out) {
    if (!ParseValue(out, 0)) return false;
    SkipBlanks();
    return p_ == end_;
  }

 private:
  void SkipBlanks() {
    while (p_ < end_ && IsJsonBlank(*p_)) ++p_;
  }

  bool ParseValue(JsonValue& out, int depth) {
    SkipBlanks();
    if (p_ == end_ || depth > kMaxDepth) return false;
    switch (*p_) {
      case '"':
        ++p_;
        out.type = JsonValue::String;
        return ParseStringBody(out.string);
      case '[':
        ++p_;
        return ParseArray(out, depth);
      case '{':
        ++p_;
        return ParseObject(out, depth);
      case 't':
        out.type = JsonValue::Boolean;
        out.boolean = true;
        return ExpectWord("true", 4);
      case 'f':
        out.type = JsonValue::Boolean;
        out.boolean = false;
        return ExpectWord("false", 5);
      case 'n':
        out.type = JsonValue::Null;
        return ExpectWord("null", 4);
      default:
        out.type = JsonValue::Number;
        return ParseNumber(out.number);
    }
  }

  bool ExpectWord(const char* word, size_t length) {
    if (static_cast<size_t>(end_ - p_) < length || std::memcmp(p_, word, length) != 0) return false;
    p_ += length;
    return true;
  }

  bool ParseArray(JsonValue& out, int depth) {
    out.type = JsonValue::Array;
    return ParseSequence(']', [&] {
      out.items.emplace_back();
      return ParseValue(out.items.back(), depth + 1);
    });
  }

  bool ParseObject(JsonValue& out, int depth) {
    out.type = JsonValue::Object;
    return ParseSequence('}', [&] {
      SkipBlanks();
      if (p_ == end_ || *p_ != '"') return false;
      ++p_;
      out.members.emplace_back();
      auto& member = out.members.back();
      if (!ParseStringBody(member.first)) return false;
      SkipBlanks();
      if (p_ == end_ || *p_ != ':') return false;
      ++p_;
      return ParseValue(member.second, depth + 1);
    });
  }

  // Elements separated by commas up to `close`; no trailing comma, since an element must follow.
  template <typename ElementFn>
  bool ParseSequence(char close, ElementFn parseElement) {
    SkipBlanks();
    if (p_ < end_ && *p_ == close) {
      ++p_;
      return true;
    }
    for (;;) {
      if (!parseElement()) return false;
      SkipBlanks();
      if (p_ == end_ || *p_ != ',') break;
      ++p_;
    }
    if (p_ == end_ || *p_ != close) return false;
    ++p_;
    return true;
  }

  // The longest run of number bytes, which the C library must read completely.
  bool ParseNumber(double& number) {
    const char* start = p_;
    while (p_ < end_ && IsNumberByte(*p_)) ++p_;
    const size_t length = static_cast<size_t>(p_ - start);
    if (length == 0) return false;
    if (ReadSmallInteger(start, length, number)) return true;
    std::string run(start, length);
    char* stop = nullptr;
    number = std::strtod(run.c_str(), &stop);
    return stop == run.c_str() + length;
  }

  // Plain digit runs short enough to be exact in a double give the same value strtod would.
  static bool ReadSmallInteger(const char* start, size_t length, double& number) {
    const bool negative = start[0] == '-';
    size_t i = negative ? 1 : 0;
    if (i == length || length - i > 15) return false;
    int64_t value = 0;
    for (; i < length; ++i) {
      if (start[i] < '0' || start[i] > '9') return false;
      value = value * 10 + (start[i] - '0');
    }
    number = negative ? -static_cast<double>(value) : static_cast<double>(value);
    if (negative && value == 0) number = -0.0;
    return true;
  }

  // After the opening quote, up to and including the closing quote.
  bool ParseStringBody(std::string& out) {
    for (;;) {
      const char* run = p_;
      while (p_ < end_) {
        const unsigned char c = static_cast<unsigned char>(*p_);
        if (c == '"' || c == '\\' || c < 0x20) break;
        ++p_;
      }
      out.append(run, static_cast<size_t>(p_ - run));
      if (p_ == end_) return false;
      const char c = *p_++;
      if (c == '"') return true;
      if (c != '\\') return false;  // a raw control byte
      if (!ParseEscape(out)) return false;
    }
  }

  bool ParseEscape(std::string& out) {
    if (p_ == end_) return false;
    const char e = *p_++;
    switch (e) {
      case '"':
      case '/':
      case '\\':
        out.push_back(e);
        return true;
      case 'b':
      case 'f':
      case 'r':
      case 't':
        if (p_ < end_ && IsAsciiLetter(*p_)) {
          KeepLiterally(out, e);
        } else {
          out.push_back(ControlFor(e));
        }
        return true;
      case 'n':
        if (StartsMathCommandAfterN()) {
          KeepLiterally(out, 'n');
        } else {
          out.push_back('\n');
        }
        return true;
      case 'u':
        return ParseUnicodeEscape(out);
      default:
        KeepLiterally(out, e);
        return true;
    }
  }

  static void KeepLiterally(std::string& out, char e) {
    out.push_back('\\');
    out.push_back(e);
  }

  static char ControlFor(char e) {
    switch (e) {
      case 'b': return '\b';
      case 'f': return '\f';
      case 'r': return '\r';
      default: return '\t';
    }
  }

  // \neq, \nabla, \neg, \not and \nu stay commands when the name ends there.
  bool StartsMathCommandAfterN() const {
    static const char* const kTails[] = {"eq", "abla", "eg", "ot", "u"};
    for (const char* tail : kTails) {
      const size_t length = std::strlen(tail);
      if (static_cast<size_t>(end_ - p_) < length || std::memcmp(p_, tail, length) != 0) continue;
      const char* after = p_ + length;
      if (after == end_ || !IsAsciiLetter(*after)) return true;
    }
    return false;
  }

  bool ReadHex4(uint32_t& value) {
    if (end_ - p_ < 4) return false;
    value = 0;
    for (int i = 0; i < 4; ++i) {
      const int digit = HexDigit(p_[i]);
      if (digit < 0) return false;
      value = (value << 4) | static_cast<uint32_t>(digit);
    }
    p_ += 4;
    return true;
  }

  bool ParseUnicodeEscape(std::string& out) {
    uint32_t unit = 0;
    if (!ReadHex4(unit)) return false;
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
      AppendUtf8(out, kReplacementChar);
      return true;
    }
    if (unit < 0xD800 || unit > 0xDBFF) {
      AppendUtf8(out, unit);
      return true;
    }
    if (end_ - p_ < 2 || p_[0] != '\\' || p_[1] != 'u') {
      AppendUtf8(out, kReplacementChar);
      return true;
    }
    p_ += 2;
    uint32_t low = 0;
    if (!ReadHex4(low)) return false;
    if (low >= 0xDC00 && low <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
    } else {
      AppendUtf8(out, kReplacementChar);
    }
    return true;
  }

  const char* p_;
  const char* end_;
};

}  // namespace

JsonValue::JsonValue() = default;
JsonValue::~JsonValue() = default;
JsonValue::JsonValue(const JsonValue&) = default;
JsonValue::JsonValue(JsonValue&&) noexcept = default;
JsonValue& JsonValue::operator=(const JsonValue&) = default;
JsonValue& JsonValue::operator=(JsonValue&&) noexcept = default;

JsonValue JsonParse(const std::string& text) {
  JsonValue value;
  Reader reader(text.data(), text.data() + text.size());
  if (!reader.ParseDocument(value)) return JsonValue();
  return value;
}

const JsonValue* JsonFind(const JsonValue& object, const std::string& key) {
  if (object.type != JsonValue::Object) return nullptr;
  for (const auto& member : object.members) {
    if (member.first == key) return &member.second;
  }
  return nullptr;
}

std::string JsonQuote(const std::string& s) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(s.size() + 2);
  out.push_back('"');
  const char* p = s.data();
  const char* const end = p + s.size();
  while (p < end) {
    const size_t plain = JsonPlainRunLength(p, static_cast<size_t>(end - p));
    out.append(p, plain);
    p += plain;
    if (p == end) break;
    const unsigned char c = static_cast<unsigned char>(*p++);
    switch (c) {
      case '\b': out += "\\b"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\f': out += "\\f"; break;
      case '\r': out += "\\r"; break;
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      default:
        out += "\\u00";
        out.push_back(kHex[c >> 4]);
        out.push_back(kHex[c & 0xF]);
    }
  }
  out.push_back('"');
  return out;
}
