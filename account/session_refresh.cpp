#include "account/session_refresh.h"

#include "account/hosted_request.h"
#include "account/sign_in.h"
#include "core/utf.h"

namespace {

// Takes over the session the store holds after it moved on without this refresh.
bool AdoptHeldSession(const SessionTokens& held, SessionTokens& tokens, AccountInfo* account) {
  tokens = held;
  bool signedIn = !held.accessToken.empty();
  if (account) {
    *account = AccountFromJson(nullptr, signedIn);
    account->email = Utf8ToWide(held.email);
  }
  return signedIn;
}

AccountInfo OfflineAccount(const SessionTokens& tokens) {
  AccountInfo info;
  info.hosted = true;
  info.signedIn = !tokens.accessToken.empty();
  info.email = Utf8ToWide(tokens.email);
  info.message = L"Offline. Couldn't reach Tavisk server.";
  return info;
}

}  // namespace

bool RefreshSession(const TutorConfig& config, const HostedContext& context, SessionTokens& tokens,
                    AccountInfo* account) {
  if (!config.hosted || tokens.refreshToken.empty()) return false;
  const std::string refreshedFrom = tokens.refreshToken;
  std::string body = "{\"refresh_token\":" + JsonQuote(refreshedFrom) + "}";
  HttpResult response = HostedExchange(config, context, L"POST", "/v1/auth/refresh", body, "");
  JsonValue reply = JsonParse(response.body);
  const JsonValue* access = MemberOfType(reply, "access_token", JsonValue::String);
  const JsonValue* refresh = MemberOfType(reply, "refresh_token", JsonValue::String);
  if (!Succeeded(response) || !access || !refresh) {
    SessionTokens held = context.session->ClearIfCurrent(refreshedFrom);
    return AdoptHeldSession(held, tokens, account);
  }
  SessionTokens next{access->string, refresh->string,
                     NonEmptyString(reply, "email").value_or(tokens.email)};
  SessionTokens held = context.session->SaveIfCurrent(refreshedFrom, next);
  if (held != next) return AdoptHeldSession(held, tokens, account);
  tokens = next;
  if (account) *account = AccountFromJson(MemberOfType(reply, "account", JsonValue::Object), true);
  return true;
}

AccountInfo ProbeAccount(const TutorConfig& config, const HostedContext& context) {
  if (!config.hosted) return LocalAccount();
  SessionTokens tokens = context.session->Read();
  HttpResult response = HostedExchange(config, context, L"GET", "/v1/me", "", tokens.accessToken);
  if (response.status == 401 && !tokens.refreshToken.empty()) {
    AccountInfo refreshed;
    if (RefreshSession(config, context, tokens, &refreshed)) return refreshed;
    response = HostedExchange(config, context, L"GET", "/v1/me", "", "");
  }
  if (!Succeeded(response)) return OfflineAccount(tokens);
  JsonValue reply = JsonParse(response.body);
  return AccountFromJson(MemberOfType(reply, "account", JsonValue::Object),
                         !tokens.accessToken.empty());
}

AccountInfo SignOut(const TutorConfig& config, const HostedContext& context) {
  context.session->Clear();
  return ProbeAccount(config, context);
}
