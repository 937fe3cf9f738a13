#pragma once
// The chat-completions exchange of local API-key mode: the request body, the post, and the
// assistant text pulled out of the response.
#include <string>
#include <string_view>

#include "core/config.h"
#include "net/json.h"
#include "net/http.h"
#include "tutor/tutor_types.h"

// Which member carries the 4096-token answer limit. Reasoning models refuse "max_tokens" and ask
// for "max_completion_tokens" instead; the pipeline switches on such a refusal.
enum class ChatTokenLimitField { MaxTokens, MaxCompletionTokens };

// The fixed system message that asks the model for the tutor-reply JSON.
std::string_view ChatSystemPrompt();

// The deep model or effort when the quality is Deep and one is configured, else the normal one.
const std::string& ChatModelFor(const TutorConfig& config, QueryQuality quality);
const std::string& ChatEffortFor(const TutorConfig& config, QueryQuality quality);

// The request body, fields always in the same order. `image` is empty or a complete data URL.
// `stream` adds "stream":true after the settings and changes nothing else.
std::string BuildChatRequest(const TutorConfig& config, QueryQuality quality, const std::string& userText,
                             const std::string& image, bool withTemperature,
                             ChatTokenLimitField limitField = ChatTokenLimitField::MaxTokens, bool stream = false);

// `baseUrl` without its trailing slashes, then "/chat/completions".
std::string ChatCompletionsUrl(const std::string& baseUrl);

// POSTs the body with the API key as bearer token (none when the key is empty) and no device hash.
HttpResult PostChatCompletion(const TutorConfig& config, const std::string& body, const HttpFn& http);

// The assistant text of the first choice; false for an error reply or text that is only blanks.
bool ExtractChatContent(const std::string& responseBody, std::string& content);

// The first entry of a reply's (or a streamed event's) "choices" when it is an object, else null.
const JsonValue* FirstChatChoice(const JsonValue& reply);

// Whether a reply (or a streamed event) carries a real error; some compatible servers send
// "error": null next to a good answer.
bool HasChatError(const JsonValue& reply);

// The text of a message's (or a streamed delta's) "content": the string itself, or the "text" of
// every text part of an array joined; empty for anything else or no content.
std::string ChatContentText(const JsonValue* content);
