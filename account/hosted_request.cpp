#include "account/hosted_request.h"

#include "core/utf.h"

std::string HostedUrl(const std::string& baseUrl, const std::string& path) {
  size_t end = baseUrl.find_last_not_of('/');
  return (end == std::string::npos ? std::string() : baseUrl.substr(0, end + 1)) + path;
}

HttpResult HostedExchange(const TutorConfig& config, const HostedContext& context,
                          const wchar_t* method, const std::string& path, const std::string& body,
                          const std::string& bearerToken) {
  std::string deviceHash = context.deviceHash ? context.deviceHash() : std::string();
  return context.http(method, HostedUrl(config.backendUrl, path), body, bearerToken, deviceHash);
}

bool Succeeded(const HttpResult& result) { return result.status == 200 && result.error.empty(); }

const JsonValue* MemberOfType(const JsonValue& object, const std::string& key, JsonValue::Type type) {
  if (object.type != JsonValue::Object) return nullptr;
  const JsonValue* member = JsonFind(object, key);
  return member && member->type == type ? member : nullptr;
}

std::optional<std::string> NonEmptyString(const JsonValue& object, const std::string& key) {
  const JsonValue* member = MemberOfType(object, key, JsonValue::String);
  if (!member || member->string.empty()) return std::nullopt;
  return member->string;
}

AccountInfo AccountFromJson(const JsonValue* account, bool signedIn) {
  AccountInfo info;
  info.hosted = true;
  info.signedIn = signedIn;
  if (!account) return info;
  if (const JsonValue* email = MemberOfType(*account, "email", JsonValue::String)) {
    info.email = Utf8ToWide(email->string);
    if (!info.email.empty()) info.signedIn = true;
  }
  return info;
}
