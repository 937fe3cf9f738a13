#pragma once
// A local API-key configuration for tests of the chat-completions road. The address is never
// contacted: the tests script the network.
#include "core/config.h"

inline TutorConfig LocalChatConfig() {
  TutorConfig config;
  config.hosted = false;
  config.baseUrl = "http://127.0.0.1:9/v1/";
  config.model = "gpt-4o-mini";
  config.apiKey = "sk-secret-key-123";
  return config;
}
