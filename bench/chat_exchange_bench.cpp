// The local chat road's own work around a network call: building a vision request that carries a
// 400 KB data URL, pulling the assistant text out of a typical response, and parsing it.
#include <benchmark/benchmark.h>

#include <string>

#include "tutor/chat_request.h"
#include "tutor/reply_parse.h"

namespace {

TutorConfig BenchConfig() {
  TutorConfig config;
  config.hosted = false;
  config.baseUrl = "http://127.0.0.1:9/v1";
  config.model = "gpt-4o-mini";
  return config;
}

void BM_BuildVisionRequest400KB(benchmark::State& state) {
  const TutorConfig config = BenchConfig();
  const std::string image = "data:image/jpeg;base64," + std::string(400 * 1024, 'Q');
  for (auto _ : state)
    benchmark::DoNotOptimize(
        BuildChatRequest(config, QueryQuality::Fast, "Solve only the topmost question shown on this screen.", image, true));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(image.size()));
}
BENCHMARK(BM_BuildVisionRequest400KB);

void BM_ExtractAndParseReply(benchmark::State& state) {
  const std::string explanation(1500, 'x');
  const std::string response =
      R"({"id":"chatcmpl-1","object":"chat.completion","model":"gpt-4o-mini","choices":[{"index":0,)"
      R"("message":{"role":"assistant","content":"```json\n{\"answer\":\"$\\\\frac{1}{2}$\",\"explanation\":\")" +
      explanation + R"(\",\"option\":3}\n```"},"finish_reason":"stop"}],"usage":{"prompt_tokens":512,"completion_tokens":90}})";
  for (auto _ : state) {
    std::string content;
    benchmark::DoNotOptimize(ExtractChatContent(response, content));
    benchmark::DoNotOptimize(ParseTutorReply(content, QueryKind::Scan));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(response.size()));
}
BENCHMARK(BM_ExtractAndParseReply);

}  // namespace
