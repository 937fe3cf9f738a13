#include "tutor/chat_solve.h"

#include <optional>

#include "core/ascii_text.h"
#include "core/log.h"
#include "tutor/chat_request.h"
#include "tutor/chat_shapes.h"
#include "tutor/chat_stream.h"
#include "tutor/reply_parse.h"

namespace {

constexpr const wchar_t* kUnreadable = L"The tutor service didn't return readable text. Try again.";

bool IsCompleted(const HttpResult& result, int status) { return result.status == status && result.error.empty(); }

// One request and its response; a streamed one also has the events read as they arrived.
struct Exchange {
  HttpResult result;
  std::optional<ChatStreamReader> events;
};

struct ChatQuery {
  const TutorConfig& config;
  const HttpFn& http;
  const ChatStreaming* streaming;
  QueryQuality quality;
  const std::string& prompt;
  const std::string& image;

  Exchange Post(const ChatShape& shape, bool stream) const {
    const std::string body =
        BuildChatRequest(config, quality, prompt, image, shape.withTemperature, shape.limitField, stream);
    if (!stream) return {PostChatCompletion(config, body, http), std::nullopt};
    Exchange exchange;
    ChatStreamReader& events = exchange.events.emplace();
    unsigned shown = 0;
    auto onPiece = [&](int status, std::string_view piece) {
      if (status != 200) return;
      events.Feed(piece);
      if (events.Growths() == shown) return;
      shown = events.Growths();
      streaming->onText(events.LiveText(), false);
    };
    exchange.result = streaming->stream(L"POST", ChatCompletionsUrl(config.baseUrl), body, config.apiKey, onPiece);
    return exchange;
  }
};

// Starts with the shape the endpoint is known to accept, and gives up each refused field (and
// streaming) at most once, so a query makes at most four requests; what was refused is remembered
// for later queries. A streamed request answered with a plain JSON body counts as a refusal too,
// and its answer is taken as it is.
Exchange PostWithRetries(const ChatQuery& query, ChatShapeMemory* shapes) {
  const std::string& model = ChatModelFor(query.config, query.quality);
  const ChatShape first = shapes ? shapes->Recall(query.config.baseUrl, model) : ChatShape{};
  ChatShape shape = first;
  bool stream = query.streaming && !shape.streamRefused;
  Exchange exchange = query.Post(shape, stream);
  while (IsCompleted(exchange.result, 400)) {
    const bool streamRefused = shape.RefuseStream(stream, exchange.result.body);
    const bool fieldRefused = shape.AdaptTo(exchange.result.body);
    if (!streamRefused && !fieldRefused) break;
    stream = stream && !streamRefused;
    exchange = query.Post(shape, stream);
  }
  if (exchange.events && exchange.result.status == 200 && exchange.events->IsPlainBody()) shape.streamRefused = true;
  if (shapes && shape != first) shapes->Remember(query.config.baseUrl, model, shape);
  return exchange;
}

TutorReply ReplyFromBody(const std::string& body, QueryKind kind) {
  std::string content;
  if (!ExtractChatContent(body, content)) return TutorReply::MakeError(kUnreadable);
  return ParseTutorReply(content, kind);
}

// A complete stream's text is read exactly as a reply that did not stream. One that broke off
// keeps what arrived for the live view, marked as cut off, and ends as a cut body always has.
TutorReply ReplyFromStream(ChatStreamReader& events, const HttpResult& result, const ChatStreaming& streaming,
                           QueryKind kind) {
  const ChatStreamReader::End end = events.Finish();
  if (end == ChatStreamReader::End::PlainBody)
    return result.error.empty() ? ReplyFromBody(result.body, kind) : TutorReply::MakeError(kUnreadable);
  if (end == ChatStreamReader::End::Complete) {
    if (TrimAscii(events.Text()).empty()) return TutorReply::MakeError(kUnreadable);
    return ParseTutorReply(events.Text(), kind);
  }
  VykLog("[vyk] answer stream %s\n", end == ChatStreamReader::End::Failed ? "carried an error" : "cut off");
  if (!events.Text().empty()) streaming.onText(events.Text(), true);
  return TutorReply::MakeError(kUnreadable);
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
                         QueryQuality quality, const std::string& prompt, const std::string& image,
                         const ChatStreaming* streaming) {
  LogLocalRequest(config, quality);
  const ChatQuery query{config, http, streaming, quality, prompt, image};
  Exchange exchange = PostWithRetries(query, shapes);
  const HttpResult& result = exchange.result;
  const bool answered = exchange.events ? result.status == 200 : IsCompleted(result, 200);
  if (!answered) {
    VykLog("[vyk] request failed (HTTP %d)\n", result.status);
    return TutorReply::MakeError(ChatFailureMessage(result.status));
  }
  if (exchange.events) return ReplyFromStream(*exchange.events, result, *streaming, kind);
  return ReplyFromBody(result.body, kind);
}
