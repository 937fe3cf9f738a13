// JsonParse against nlohmann::json::parse on the two bodies that matter: a typical chat-completions
// response and a request-sized body carrying a base64 image as a data URL.
#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>

#include <string>

#include "net/json.h"

namespace {

// About 4 KB: a chat-completions response whose content is a tutor reply with math and escapes.
std::string ChatCompletionResponse() {
  std::string explanation;
  while (explanation.size() < 3300) {
    explanation +=
        "Start from $\\\\frac{x^2+1}{2} = 5$, multiply both sides by 2 to get $x^2 + 1 = 10$, "
        "so $x^2 = 9$ and $x = \\\\pm 3$.\\nCheck: \\\"$3^2 + 1 = 10$\\\" holds. \\u00e9\\u20ac ";
  }
  const std::string content = "{\\\"answer\\\":\\\"$x = 3$\\\",\\\"explanation\\\":\\\"" + explanation +
                              "\\\",\\\"option\\\":2}";
  return "{\n  \"id\": \"chatcmpl-9xYzAbCdEf\",\n  \"object\": \"chat.completion\",\n"
         "  \"created\": 1765152000,\n  \"model\": \"gpt-4o-mini-2024-07-18\",\n"
         "  \"choices\": [\n    {\n      \"index\": 0,\n      \"message\": {\n"
         "        \"role\": \"assistant\",\n        \"content\": \"" + content + "\",\n"
         "        \"refusal\": null\n      },\n      \"logprobs\": null,\n"
         "      \"finish_reason\": \"stop\"\n    }\n  ],\n"
         "  \"usage\": {\n    \"prompt_tokens\": 1284,\n    \"completion_tokens\": 311,\n"
         "    \"total_tokens\": 1595,\n    \"prompt_tokens_details\": {\"cached_tokens\": 0},\n"
         "    \"completion_tokens_details\": {\"reasoning_tokens\": 0}\n  },\n"
         "  \"system_fingerprint\": \"fp_0123456789\"\n}\n";
}

// About 1.5 MB: a body whose image travels as "data:image/jpeg;base64,...".
std::string DataUrlBody() {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string base64(1500 * 1024, 'A');
  unsigned state = 12345;
  for (char& c : base64) {
    state = state * 1103515245u + 12345u;
    c = kAlphabet[(state >> 16) & 63];
  }
  return "{\"model\":\"gpt-4o-mini\",\"temperature\":0,\"max_tokens\":4096,\"messages\":["
         "{\"role\":\"system\",\"content\":\"You are a study tutor.\"},"
         "{\"role\":\"user\",\"content\":[{\"type\":\"text\",\"text\":\"Solve the question in the image.\"},"
         "{\"type\":\"image_url\",\"image_url\":{\"url\":\"data:image/jpeg;base64," +
         base64 + "\",\"detail\":\"auto\"}}]}]}";
}

void RunOurs(benchmark::State& state, const std::string& text) {
  state.SetLabel(std::to_string(text.size()) + " bytes");
  if (JsonParse(text).type != JsonValue::Object) state.SkipWithError("JsonParse rejected the body");
  for (auto _ : state) benchmark::DoNotOptimize(JsonParse(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void RunNlohmann(benchmark::State& state, const std::string& text) {
  state.SetLabel(std::to_string(text.size()) + " bytes");
  if (!nlohmann::json::parse(text, nullptr, false).is_object()) state.SkipWithError("nlohmann rejected the body");
  for (auto _ : state) benchmark::DoNotOptimize(nlohmann::json::parse(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_JsonParse_ChatResponse4K(benchmark::State& state) { RunOurs(state, ChatCompletionResponse()); }
void BM_Nlohmann_ChatResponse4K(benchmark::State& state) { RunNlohmann(state, ChatCompletionResponse()); }
void BM_JsonParse_DataUrl1500K(benchmark::State& state) { RunOurs(state, DataUrlBody()); }
void BM_Nlohmann_DataUrl1500K(benchmark::State& state) { RunNlohmann(state, DataUrlBody()); }

}  // namespace

BENCHMARK(BM_JsonParse_ChatResponse4K);
BENCHMARK(BM_Nlohmann_ChatResponse4K);
BENCHMARK(BM_JsonParse_DataUrl1500K);
BENCHMARK(BM_Nlohmann_DataUrl1500K);
