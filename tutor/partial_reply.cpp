#include "tutor/partial_reply.h"

#include <optional>

#include "core/ascii_text.h"
#include "core/utf.h"
#include "net/json.h"
#include "tutor/reply_parse.h"

namespace {

constexpr std::string_view kFence = "```";

// The longest escape whose reading depends on the bytes after its backslash: a surrogate pair,
// "\uD83D\uDE00". An escape that starts nearer the end of what has arrived waits for more.
constexpr size_t kLongestEscape = 12;

size_t SkipBlanks(std::string_view text, size_t i) {
  while (i < text.size() && IsAsciiSpace(text[i])) ++i;
  return i;
}

// `text` without a UTF-8 sequence cut at its end.
std::string_view WithoutCutSequence(std::string_view text) {
  for (size_t back = 1; back <= 3 && back <= text.size(); ++back) {
    const unsigned char c = static_cast<unsigned char>(text[text.size() - back]);
    if ((c & 0xC0) == 0x80) continue;  // a continuation byte: look further back
    const size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return length > back ? text.substr(0, text.size() - back) : text;
  }
  return text;
}

std::wstring Shown(std::string_view utf8) { return Utf8ToWide(TrimAscii(WithoutCutSequence(utf8))); }

// A JSON string's raw bytes after its opening quote: up to the closing quote when it has arrived.
struct RawString {
  std::string_view bytes;
  bool closed = false;
};

RawString ScanString(std::string_view text, size_t start) {
  for (size_t i = start; i < text.size(); ++i) {
    if (text[i] == '\\') {
      ++i;
    } else if (text[i] == '"') {
      return {text.substr(start, i - start), true};
    }
  }
  return {text.substr(start), false};
}

// The bytes of the escape at the start of `text` (at least kLongestEscape of them): a "\u" escape
// with its four digits, and the low half that follows a high surrogate; else the backslash and one.
size_t EscapeLength(std::string_view text) {
  if (text[1] != 'u') return 2;
  const bool high =
      (text[2] == 'd' || text[2] == 'D') && std::string_view("89abAB").find(text[3]) != std::string_view::npos;
  return high && text.substr(6, 2) == "\\u" ? 12 : 6;
}

// The decoded string, read by the JSON reader itself so that it decodes as the whole reply will.
// An unclosed string is cut before an escape that may still depend on bytes to come.
std::string Decode(const RawString& raw) {
  std::string_view bytes = raw.bytes;
  if (!raw.closed) {
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] != '\\') continue;
      if (i + kLongestEscape > bytes.size()) {
        bytes = bytes.substr(0, i);
        break;
      }
      i += EscapeLength(bytes.substr(i)) - 1;
    }
  }
  const JsonValue value = JsonParse("\"" + std::string(bytes) + "\"");
  return value.type == JsonValue::String ? value.string : std::string();
}

// Skips one value that is not a string (number, literal, array, object); the index after it, or
// nothing when it has not fully arrived.
std::optional<size_t> SkipValue(std::string_view text, size_t i) {
  int depth = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      const RawString raw = ScanString(text, i + 1);
      if (!raw.closed) return std::nullopt;
      i += raw.bytes.size() + 1;
    } else if (c == '{' || c == '[') {
      ++depth;
    } else if (c == '}' || c == ']') {
      if (depth == 0) return i;
      if (--depth == 0) return i + 1;
    } else if (depth == 0 && (c == ',' || IsAsciiSpace(c))) {
      return i;
    }
  }
  return std::nullopt;
}

struct ObjectReader {
  std::string_view text;
  PartialReply reply;
  bool haveAnswer = false;
  bool haveExplanation = false;

  // Takes the first "answer" and "explanation" members; stops where the text runs out.
  void Read(size_t i) {
    for (;;) {
      i = SkipBlanks(text, i);
      if (i < text.size() && text[i] == ',') i = SkipBlanks(text, i + 1);
      if (i >= text.size() || text[i] != '"') return;
      const RawString key = ScanString(text, i + 1);
      if (!key.closed) return;
      i = SkipBlanks(text, i + key.bytes.size() + 2);
      if (i >= text.size() || text[i] != ':') return;
      i = SkipBlanks(text, i + 1);
      if (i >= text.size()) return;
      const std::optional<size_t> next = ReadValue(Decode(key), i);
      if (!next) return;
      i = *next;
    }
  }

  std::optional<size_t> ReadValue(const std::string& key, size_t i) {
    const bool answer = key == "answer" && !haveAnswer;
    const bool explanation = key == "explanation" && !haveExplanation;
    if (text[i] != '"') {
      const std::optional<size_t> end = SkipValue(text, i);
      if (end && answer) TakeNumberAnswer(text.substr(i, *end - i));
      return end;
    }
    const RawString raw = ScanString(text, i + 1);
    if (answer || explanation) {
      (answer ? reply.answer : reply.explanation) = Shown(Decode(raw));
      (answer ? haveAnswer : haveExplanation) = raw.closed;
    }
    if (!raw.closed) return std::nullopt;
    return i + raw.bytes.size() + 2;
  }

  void TakeNumberAnswer(std::string_view token) {
    haveAnswer = true;
    const JsonValue value = JsonParse(std::string(token));
    if (value.type == JsonValue::Number) reply.answer = Utf8ToWide(FormatAnswerNumber(value.number));
  }
};

}  // namespace

PartialReply ReadPartialReply(std::string_view text) {
  size_t i = SkipBlanks(text, 0);
  bool fenced = false;
  const std::string_view start = text.substr(i, kFence.size());
  if (start.size() < kFence.size() && kFence.substr(0, start.size()) == start) return {};  // a fence, maybe
  if (start == kFence) {
    const size_t lineEnd = text.find('\n', i);
    if (lineEnd == std::string_view::npos) return {};  // the fence line itself is still arriving
    i = SkipBlanks(text, lineEnd + 1);
    fenced = true;
  }
  if (i >= text.size()) return {};
  if (text[i] == '{') {
    ObjectReader reader{text, {}};
    reader.Read(i + 1);
    return reader.reply;
  }
  std::string_view prose = text.substr(i);
  if (fenced) prose = prose.substr(0, prose.find(kFence));
  // Backquotes at the very end may be the start of a closing fence.
  while (fenced && !prose.empty() && prose.back() == '`') prose.remove_suffix(1);
  return {Shown(prose), {}};
}
