#include "tutor/chat_solve.h"

#include "app/core/log.h"
#include "tutor/chat_request.h"
#include "tutor/reply_parse.h"

namespace {

// The shape of the next request. A model may refuse the temperature field or the "max_tokens"
// name (reasoning models want "max_completion_tokens"); each is given up at most once, so a query
// makes at most three requests.
struct ChatAttempt {
  bool withTemperature = true;
  ChatTokenLimitField limitField = ChatTokenLimitField::MaxTokens;

  // Adapts to a 400 body that names a refused field; false when there is nothing left to change.
  bool AdaptTo(const std::string& rejection) {
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
};

bool IsCompleted(const HttpResult& result, int status) { return result.status == status && result.error.empty(); }

HttpResult PostWithRetries(const TutorConfig& config, const HttpFn& http, QueryQuality quality,
                           const std::string& prompt, const std::string& image) {
  ChatAttempt attempt;
  auto post = [&] {
    return PostChatCompletion(
        config, BuildChatRequest(config, quality, prompt, image, attempt.withTemperature, attempt.limitField), http);
  };
  HttpResult result = post();
  while (IsCompleted(result, 400) && attempt.AdaptTo(result.body)) result = post();
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

TutorReply SolveWithChat(const TutorConfig& config, const HttpFn& http, QueryKind kind, QueryQuality quality,
                         const std::string& prompt, const std::string& image) {
  LogLocalRequest(config, quality);
  const HttpResult result = PostWithRetries(config, http, quality, prompt, image);
  if (!IsCompleted(result, 200)) {
    VykLog("[vyk] request failed (HTTP %d)\n", result.status);
    return TutorReply::MakeError(ChatFailureMessage(result.status));
  }
  std::string content;
  if (!ExtractChatContent(result.body, content))
    return TutorReply::MakeError(L"The tutor service didn't return readable text. Try again.");
  return ParseTutorReply(content, kind);
}
