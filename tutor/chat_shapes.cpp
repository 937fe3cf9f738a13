#include "tutor/chat_shapes.h"

#include <string_view>

namespace {

// "stream" as a word of its own or the start of one ("stream", "streaming", "stream_options"),
// not the end of another ("upstream").
bool NamesStream(const std::string& text) {
  constexpr std::string_view kWord = "stream";
  for (size_t at = text.find(kWord); at != std::string::npos; at = text.find(kWord, at + 1)) {
    const char before = at == 0 ? ' ' : text[at - 1];
    const bool letter = (before >= 'a' && before <= 'z') || (before >= 'A' && before <= 'Z');
    if (!letter) return true;
  }
  return false;
}

}  // namespace

bool ChatShape::AdaptTo(const std::string& rejection) {
  bool changed = false;
  if (withTemperature && rejection.find("temperature") != std::string::npos) {
    withTemperature = false;
    changed = true;
  }
  if (limitField == ChatTokenLimitField::MaxTokens && rejection.find("max_tokens") != std::string::npos) {
    limitField = ChatTokenLimitField::MaxCompletionTokens;
    changed = true;
  }
  return changed;
}

bool ChatShape::RefuseStream(bool streaming, const std::string& rejection) {
  if (!streaming || streamRefused || !NamesStream(rejection)) return false;
  streamRefused = true;
  return true;
}

// Trailing slashes do not make another endpoint: both spellings post to the same URL.
ChatShapeMemory::Key ChatShapeMemory::KeyOf(const std::string& baseUrl, const std::string& model) {
  return {ChatCompletionsUrl(baseUrl), model};
}

ChatShape ChatShapeMemory::Recall(const std::string& baseUrl, const std::string& model) const {
  const Key key = KeyOf(baseUrl, model);
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = shapes_.find(key);
  return found == shapes_.end() ? ChatShape{} : found->second;
}

void ChatShapeMemory::Remember(const std::string& baseUrl, const std::string& model, const ChatShape& shape) {
  const Key key = KeyOf(baseUrl, model);
  std::lock_guard<std::mutex> lock(mutex_);
  ChatShape& known = shapes_[key];
  known.withTemperature = known.withTemperature && shape.withTemperature;
  if (shape.limitField == ChatTokenLimitField::MaxCompletionTokens) known.limitField = shape.limitField;
  known.streamRefused = known.streamRefused || shape.streamRefused;
}

ChatShapeMemory& ProcessChatShapes() {
  static ChatShapeMemory& memory = *new ChatShapeMemory;
  return memory;
}
