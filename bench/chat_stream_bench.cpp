// The worker's own work while an answer streams in: reading a 2,000-token reply's events as they
// arrive, and reading the partial reply after every token for the live view (what a query does).
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "tutor/chat_stream.h"
#include "tutor/partial_reply.h"
#include "tutor/tests/chat_stream_fixture.h"

namespace {

// About 2,000 tokens of four bytes: a short answer, a long explanation with math and escapes.
std::string LongReply() {
  std::string explanation;
  while (explanation.size() < 7900) explanation += "Subtract 3 from both sides: $2x = 8$, so $\\\\frac{8}{2} = 4$. ";
  return "{\"answer\":\"$x = 4$\",\"explanation\":\"" + explanation + "\",\"option\":null}";
}

// One read per token event, as a paced stream arrives.
std::vector<std::string> TokenReads(const std::string& reply) {
  std::mt19937 random(7);
  const std::string body = chat_stream_fixture::StreamBody(reply, random, 4);
  std::vector<std::string> reads;
  for (size_t at = 0; at < body.size();) {
    const size_t end = body.find("\n\n", at);
    const size_t next = end == std::string::npos ? body.size() : end + 2;
    reads.push_back(body.substr(at, next - at));
    at = next;
  }
  return reads;
}

void BM_ReadEventsOf2000TokenReply(benchmark::State& state) {
  const std::vector<std::string> reads = TokenReads(LongReply());
  for (auto _ : state) {
    ChatStreamReader reader;
    for (const std::string& read : reads) reader.Feed(read);
    benchmark::DoNotOptimize(reader.Finish());
  }
  state.counters["reads"] = static_cast<double>(reads.size());
}
BENCHMARK(BM_ReadEventsOf2000TokenReply)->Unit(benchmark::kMillisecond);

// Events and the live view together: the whole CPU cost of streaming one such reply.
void BM_ReadEventsAndLiveViewOf2000TokenReply(benchmark::State& state) {
  const std::vector<std::string> reads = TokenReads(LongReply());
  for (auto _ : state) {
    ChatStreamReader reader;
    for (const std::string& read : reads) {
      reader.Feed(read);
      benchmark::DoNotOptimize(ReadPartialReply(reader.Text()));
    }
    benchmark::DoNotOptimize(reader.Finish());
  }
}
BENCHMARK(BM_ReadEventsAndLiveViewOf2000TokenReply)->Unit(benchmark::kMillisecond);

}  // namespace
