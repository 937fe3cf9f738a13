#include "account/sign_in.h"

#include "account/hosted_request.h"
#include "account/session_store.h"
#include "core/utf.h"

namespace {

AuthResult LocalModeResult() {
  AuthResult result;
  result.message = L"Local API key mode active (vyk.cfg).";
  result.account = LocalAccount();
  return result;
}

// The message of a failed step: the service's own "error" text, else whether the service was
// reached at all, else `fallback`.
std::wstring FailureMessage(const HttpResult& result, const JsonValue& reply, const wchar_t* fallback) {
  if (std::optional<std::string> error = NonEmptyString(reply, "error")) return Utf8ToWide(*error);
  if (result.status == 0) return L"Couldn't reach Tavisk server.";
  return fallback;
}

}  // namespace

AccountInfo LocalAccount() { return AccountInfo{}; }

AuthResult SendCode(const TutorConfig& config, const HostedContext& context, const std::wstring& email) {
  if (!config.hosted) return LocalModeResult();
  std::string body = "{\"email\":" + JsonQuote(WideToUtf8(email)) + "}";
  HttpResult response = HostedExchange(config, context, L"POST", "/v1/auth/send-code", body, "");
  AuthResult result;
  if (Succeeded(response)) {
    result.ok = true;
    result.message = L"Code sent. Check your email.";
  } else {
    result.message =
        FailureMessage(response, JsonParse(response.body), L"Could not send verification code.");
  }
  return result;
}

AuthResult VerifyCode(const TutorConfig& config, const HostedContext& context,
                      const std::wstring& email, const std::wstring& code) {
  if (!config.hosted) return LocalModeResult();
  std::string typedEmail = WideToUtf8(email);
  std::string body =
      "{\"email\":" + JsonQuote(typedEmail) + ",\"code\":" + JsonQuote(WideToUtf8(code)) + "}";
  HttpResult response = HostedExchange(config, context, L"POST", "/v1/auth/verify", body, "");
  JsonValue reply = JsonParse(response.body);
  const JsonValue* access = MemberOfType(reply, "access_token", JsonValue::String);
  const JsonValue* refresh = MemberOfType(reply, "refresh_token", JsonValue::String);
  AuthResult result;
  if (!Succeeded(response) || !access || !refresh) {
    result.message = FailureMessage(response, reply, L"Invalid or expired verification code.");
    return result;
  }
  SessionTokens tokens{access->string, refresh->string,
                       NonEmptyString(reply, "email").value_or(typedEmail)};
  context.session->Save(tokens);
  result.ok = true;
  result.message = L"Signed in.";
  result.account = AccountFromJson(MemberOfType(reply, "account", JsonValue::Object), true);
  return result;
}
