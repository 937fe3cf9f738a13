#include "tutor/chat_shapes.h"

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
}

ChatShapeMemory& ProcessChatShapes() {
  static ChatShapeMemory& memory = *new ChatShapeMemory;
  return memory;
}
