#include "tutor/hosted_solve.h"

#include "account/hosted_request.h"
#include "account/session_refresh.h"
#include "account/session_store.h"
#include "core/utf.h"
#include "core/log.h"

namespace {

const char* KindName(QueryKind kind) {
  switch (kind) {
    case QueryKind::Scan: return "scan";
    case QueryKind::VisionScan: return "scan_vision";
    case QueryKind::Snip: return "snip";
    default: return "ask";
  }
}

std::wstring FailureMessage(const HttpResult& response, const JsonValue& root) {
  if (std::optional<std::string> message = NonEmptyString(root, "message")) {
    return Utf8ToWide(*message);
  }
  switch (response.status) {
    case 401: return L"Session expired. Sign in again in Settings \u2192 Account.";
    case 429: return L"Too many requests. Wait a moment and try again.";
    case 0: return L"Couldn't reach Tavisk server. Check your internet connection.";
    default:
      return L"Tavisk service error (HTTP " + std::to_wstring(response.status) + L"). Try again.";
  }
}

// Option positions 1..4 become indexes 0..3 (fractions cut off); anything else means none.
int OptionIndexOf(const JsonValue& reply) {
  const JsonValue* option = MemberOfType(reply, "option", JsonValue::Number);
  if (!option || option->number < 1 || option->number > 4) return -1;
  return static_cast<int>(option->number) - 1;
}

std::wstring StringOrEmpty(const JsonValue& object, const char* key) {
  const JsonValue* member = MemberOfType(object, key, JsonValue::String);
  return member ? Utf8ToWide(member->string) : std::wstring();
}

TutorReply ReplyFromSolveResult(const JsonValue& reply) {
  const JsonValue* statusMember = MemberOfType(reply, "status", JsonValue::String);
  const std::string status = statusMember ? statusMember->string : "error";
  TutorReply result;
  if (status == "no_question") {
    result.status = TutorReply::NoQuestion;
  } else if (status == "answer") {
    result.status = TutorReply::Answer;
    result.text = StringOrEmpty(reply, "answer");
    result.explanation = StringOrEmpty(reply, "explanation");
    result.option = OptionIndexOf(reply);
  } else {
    std::optional<std::string> answer = NonEmptyString(reply, "answer");
    result = TutorReply::MakeError(answer ? Utf8ToWide(*answer) : L"Could not solve this question.");
  }
  return result;
}

TutorReply ReplyFromResponse(const HttpResult& response, const JsonValue& root) {
  if (!Succeeded(response)) {
    VykLog("[vyk] backend solve failed (HTTP %d)\n", response.status);
    return TutorReply::MakeError(FailureMessage(response, root));
  }
  const JsonValue* reply = MemberOfType(root, "reply", JsonValue::Object);
  if (!reply) return TutorReply::MakeError(L"Unexpected response from Tavisk server.");
  return ReplyFromSolveResult(*reply);
}

}  // namespace

std::string HostedSolveBody(QueryKind kind, QueryQuality quality, const std::string& deviceLabel,
                            const std::string& text, const std::string& image) {
  std::string body = "{\"kind\":" + JsonQuote(KindName(kind)) + ",\"quality\":" +
                     JsonQuote(quality == QueryQuality::Deep ? "deep" : "fast") +
                     ",\"device_label\":" + JsonQuote(deviceLabel);
  body += image.empty() ? ",\"text\":" + JsonQuote(text) : ",\"image_b64\":" + JsonQuote(image);
  return body + "}";
}

TutorReply HostedSolve(const TutorConfig& config, const HostedContext& context, QueryKind kind,
                       QueryQuality quality, const std::string& text, const std::string& image) {
  std::string label = context.deviceLabel ? context.deviceLabel() : std::string();
  std::string body = HostedSolveBody(kind, quality, label, text, image);
  SessionTokens session = context.session->Read();
  HttpResult response =
      HostedExchange(config, context, L"POST", "/v1/solve", body, session.accessToken);
  if (response.status == 401 && !session.refreshToken.empty() &&
      RefreshSession(config, context, session, nullptr)) {
    response = HostedExchange(config, context, L"POST", "/v1/solve", body, session.accessToken);
  }
  JsonValue root = JsonParse(response.body);
  TutorReply reply = ReplyFromResponse(response, root);
  if (const JsonValue* account = MemberOfType(root, "account", JsonValue::Object)) {
    reply.account = AccountFromJson(account, !session.accessToken.empty());
  }
  return reply;
}
