#pragma once
// The shape of a chat-completions request, and what each endpoint has refused. A model may refuse
// the temperature field or the "max_tokens" name, and an endpoint may refuse to stream; once it
// has, later queries to the same base URL and model start with the shape it accepts, so such a
// model costs one request per question.
#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "tutor/chat_request.h"

struct ChatShape {
  bool withTemperature = true;
  ChatTokenLimitField limitField = ChatTokenLimitField::MaxTokens;
  bool streamRefused = false;  // the endpoint answered a streamed request without streaming

  // Gives up each field a 400 body names that is still sent; false when nothing changed.
  bool AdaptTo(const std::string& rejection);
  // Gives up streaming when `streaming` and a 400 body names "stream"; false otherwise.
  bool RefuseStream(bool streaming, const std::string& rejection);
  bool operator==(const ChatShape&) const = default;
};

// Refusals remembered per (base URL, model) for the life of the process. Thread-safe: queries run
// on worker threads.
class ChatShapeMemory {
 public:
  // The shape to start with: the full one until this endpoint and model have refused something.
  ChatShape Recall(const std::string& baseUrl, const std::string& model) const;
  // Adds the refusals `shape` reflects; a field once given up stays given up.
  void Remember(const std::string& baseUrl, const std::string& model, const ChatShape& shape);

 private:
  using Key = std::pair<std::string, std::string>;
  static Key KeyOf(const std::string& baseUrl, const std::string& model);

  mutable std::mutex mutex_;
  std::map<Key, ChatShape> shapes_;
};

// The memory every query of this process shares; never destroyed, since workers are detached.
ChatShapeMemory& ProcessChatShapes();
