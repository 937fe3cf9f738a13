#pragma once
// One query through the chat-completions endpoint (local API-key mode): the request, the retries a
// model's refusal of a field calls for, and the mapping of every outcome to a TutorReply.
#include <string>

#include "core/config.h"
#include "net/http.h"
#include "tutor/live_text.h"
#include "tutor/tutor_types.h"

class ChatShapeMemory;

// How a query asks for its answer to stream in: the transport that hands the body over as it
// arrives, and where the growing assistant text goes (on the worker).
struct ChatStreaming {
  HttpStreamFn stream;
  LiveTextFn onText;
};

// `prompt` is the user message (UTF-8, already prefixed for its kind); `image` is empty or a
// complete data URL. `shapes` holds what endpoints refused before and learns what this query finds
// out; without it every query starts with the full request. With `streaming` the request asks for
// an event stream (unless this endpoint and model refused one before); the final reply is read
// from the whole text exactly as an answer that did not stream. Never throws for network or reply
// problems.
TutorReply SolveWithChat(const TutorConfig& config, const HttpFn& http, ChatShapeMemory* shapes, QueryKind kind,
                         QueryQuality quality, const std::string& prompt, const std::string& image,
                         const ChatStreaming* streaming = nullptr);

// The sentence shown for a local request that did not end with status 200 (status 0: no response).
std::wstring ChatFailureMessage(int status);
