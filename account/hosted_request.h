#pragma once
// The pieces every hosted-service exchange shares: sending a request, and reading the members
// of its JSON reply.
#include <optional>
#include <string>

#include "account/account_types.h"
#include "account/hosted_context.h"
#include "core/config.h"
#include "net/json.h"

// Sends `method` to the service URL of `path` with the device hash header. An empty bearer token
// sends no Authorization header.
HttpResult HostedExchange(const TutorConfig& config, const HostedContext& context,
                          const wchar_t* method, const std::string& path, const std::string& body,
                          const std::string& bearerToken);

// A completed exchange with status 200.
bool Succeeded(const HttpResult& result);

// The member `key` of `object` when it has the given type, else null.
const JsonValue* MemberOfType(const JsonValue& object, const std::string& key, JsonValue::Type type);
// The string member `key`, when present, a string and not empty.
std::optional<std::string> NonEmptyString(const JsonValue& object, const std::string& key);

// The account state named by an "account" object (or by nothing), starting from `signedIn`.
AccountInfo AccountFromJson(const JsonValue* account, bool signedIn);
