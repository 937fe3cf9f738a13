#include "tutor/chat_solve.h"

#include "core/log.h"
#include "tutor/chat_request.h"
#include "tutor/chat_shapes.h"
#include "tutor/reply_parse.h"

namespace {

bool IsCompleted(const HttpResult& result, int status) { return result.status == status && result.error.empty(); }

// Starts with the shape the endpoint is known to accept, and gives up each refused field at most
// once, so a query makes at most three requests; what was refused is remembered for later queries.
HttpResult PostWithRetries(const TutorConfig& config, const HttpFn& http, ChatShapeMemory* shapes,
                           QueryQuality quality, const std::string& prompt, const std::string& image) {
  const std::string& model = ChatModelFor(config, quality);
  const ChatShape first = shapes ? shapes->Recall(config.baseUrl, model) : ChatShape{};
  ChatShape shape = first;
  auto post = [&] {
    return PostChatCompletion(
        config, BuildChatRequest(config, quality, prompt, image, shape.withTemperature, shape.limitField), http);
  };
  HttpResult result = post();
  while (IsCompleted(result, 400) && shape.AdaptTo(result.body)) result = post();
  if (shapes && shape != first) shapes->Remember(config.baseUrl, model, shape);
  return result;
}

void LogLocalRequest(const TutorConfig& config, QueryQuality quality) {
  const std::string& effort = ChatEffortFor(config, quality);
  VykLog("[vyk] local %s -> %s%s%s\n", quality == QueryQuality::Deep ? "deep" : "fast",
         ChatModelFor(config, quality).c_str(), effort.empty() ? "" : " effort=", effort.c_str());
}

}  // namespace

std::wstring ChatFailureMessage(int status) {
  if (status == 401 || status == 403) return L"Access denied. Check the API key in your configuration.";
  if (status == 429) return L"The tutor service is rate limited. Try again in a moment.";
  if (status == 0) return L"Couldn't reach the tutor service. Check your connection and base_url.";
  return L"The tutor service rejected the request (HTTP " + std::to_wstring(status) +
         L"). Check your model and endpoint settings.";
}

TutorReply SolveWithChat(const TutorConfig& config, const HttpFn& http, ChatShapeMemory* shapes, QueryKind kind,
                         QueryQuality quality, const std::string& prompt, const std::string& image) {
  LogLocalRequest(config, quality);
  const HttpResult result = PostWithRetries(config, http, shapes, quality, prompt, image);
  if (!IsCompleted(result, 200)) {
    VykLog("[vyk] request failed (HTTP %d)\n", result.status);
    return TutorReply::MakeError(ChatFailureMessage(result.status));
  }
  std::string content;
  if (!ExtractChatContent(result.body, content))
    return TutorReply::MakeError(L"The tutor service didn't return readable text. Try again.");
  return ParseTutorReply(content, kind);
}
