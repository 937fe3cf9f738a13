#include "tutor/reply_parse.h"

#include <cstdio>

#include "core/ascii_text.h"
#include "net/json.h"
#include "core/utf.h"

namespace {

constexpr std::string_view kFence = "```";

// The text between the end of the fence line and the last fence marker, trimmed; unchanged when
// there is no such span (an unclosed fence stays in the text).
std::string_view StripCodeFence(std::string_view content) {
  if (content.size() < kFence.size() || content.substr(0, kFence.size()) != kFence) return content;
  const size_t lineEnd = content.find('\n');
  const size_t lastFence = content.rfind(kFence);
  if (lineEnd == std::string_view::npos || lineEnd >= lastFence) return content;
  return TrimAscii(content.substr(lineEnd + 1, lastFence - lineEnd - 1));
}

int OptionFromCharacter(char c) {
  if (c >= 'a' && c <= 'd') return c - 'a';
  if (c >= '1' && c <= '4') return c - '1';
  return -1;
}

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

int BracketedOption(std::string_view s, bool allowBare) {
  const char closing = s[0] == '(' ? ')' : ']';
  if (s.size() < 3 || s[2] != closing) return -1;
  if (!allowBare && s.size() == 3 && IsDecimalDigit(s[1])) return -1;
  return OptionFromCharacter(s[1]);
}

int LabelledOption(std::string_view s, bool allowBare, bool prefixed) {
  const int index = OptionFromCharacter(s[0]);
  if (index < 0) return -1;
  if (s.size() == 1) return allowBare ? index : -1;
  const char second = s[1];
  if (second == ')') return index;
  if ((second == '.' || second == ':') && (s.size() == 2 || IsAsciiSpace(s[2]))) return index;
  if (IsAsciiSpace(second) && prefixed) return index;
  return -1;
}

TutorReply AnswerReply(std::string_view text, std::string_view explanation, int option) {
  TutorReply reply;
  reply.status = TutorReply::Answer;
  reply.text = Utf8ToWide(text);
  reply.explanation = Utf8ToWide(explanation);
  reply.option = option;
  return reply;
}

TutorReply NoQuestionReply() {
  TutorReply reply;
  reply.status = TutorReply::NoQuestion;
  return reply;
}

bool IsTrue(const JsonValue* value) { return value && value->type == JsonValue::Boolean && value->boolean; }

std::string AnswerText(const JsonValue* answer) {
  if (!answer) return {};
  if (answer->type == JsonValue::String) return std::string(TrimAscii(answer->string));
  if (answer->type == JsonValue::Number) return FormatAnswerNumber(answer->number);
  return {};
}

int OptionMember(const JsonValue* option) {
  if (!option) return -1;
  if (option->type == JsonValue::String) return OptionIndex(option->string, true);
  if (option->type != JsonValue::Number) return -1;
  const double n = option->number;
  if (n >= 1 && n <= 4 && n == static_cast<double>(static_cast<int>(n))) return static_cast<int>(n) - 1;
  return -1;
}

TutorReply ParseJsonReply(std::string_view content, QueryKind kind) {
  const JsonValue reply = JsonParse(std::string(content));
  if (IsScreenKind(kind) && IsTrue(JsonFind(reply, "no_question"))) return NoQuestionReply();
  const std::string answer = AnswerText(JsonFind(reply, "answer"));
  if (answer.empty()) return TutorReply::MakeError(L"The tutor returned an incomplete answer. Try again.");
  int option = OptionMember(JsonFind(reply, "option"));
  if (option < 0) option = OptionIndex(answer, false);
  const JsonValue* explanation = JsonFind(reply, "explanation");
  const std::string_view explanationText =
      explanation && explanation->type == JsonValue::String ? TrimAscii(explanation->string) : std::string_view();
  return AnswerReply(answer, explanationText, option);
}

bool IsSingleAsciiLetter(std::string_view s) {
  return s.size() == 1 && ((s[0] >= 'a' && s[0] <= 'z') || (s[0] >= 'A' && s[0] <= 'Z'));
}

}  // namespace

std::string FormatAnswerNumber(double value) {
  char buffer[64];
  const int length = std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

int OptionIndex(std::string_view text, bool allowBare) {
  std::string lowered = AsciiLower(TrimAscii(text));
  std::string_view s = lowered;
  bool prefixed = false;
  if (s.size() >= 7 && (s.substr(0, 7) == "option " || s.substr(0, 7) == "choice ")) {
    s = TrimAscii(s.substr(7));
    prefixed = true;
    allowBare = true;
  }
  if (s.empty()) return -1;
  if (s[0] == '(' || s[0] == '[') return BracketedOption(s, allowBare);
  return LabelledOption(s, allowBare, prefixed);
}

TutorReply ParseTutorReply(const std::string& rawContent, QueryKind kind) {
  const std::string_view content = StripCodeFence(TrimAscii(rawContent));
  if (IsScreenKind(kind) && AsciiLower(content) == "none") return NoQuestionReply();
  if (content.empty()) return TutorReply::MakeError(L"The tutor returned an empty answer. Try again.");
  if (content.front() == '{') return ParseJsonReply(content, kind);
  const bool allowBare = IsScreenKind(kind) && IsSingleAsciiLetter(content);
  return AnswerReply(content, {}, OptionIndex(content, allowBare));
}
