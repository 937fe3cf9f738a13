#include "tutor/chat_stream.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/ascii_text.h"
#include "core/log.h"
#include "tutor/chat_request.h"
#include "tutor/chat_shapes.h"
#include "tutor/chat_solve.h"
#include "tutor/reply_parse.h"
#include "tutor/tests/chat_stream_fixture.h"
#include "tutor/tests/local_chat_config.h"
#include "tutor/tests/reply_samples.h"

namespace {

using chat_stream_fixture::Event;

constexpr const wchar_t* kUnreadable = L"The tutor service didn't return readable text. Try again.";

void ExpectSameReply(const TutorReply& actual, const TutorReply& expected, const std::string& context) {
  EXPECT_EQ(actual.status, expected.status) << context;
  EXPECT_EQ(actual.text, expected.text) << context;
  EXPECT_EQ(actual.explanation, expected.explanation) << context;
  EXPECT_EQ(actual.option, expected.option) << context;
}

// A chat endpoint that answers every request with one scripted response, streamed in the given
// reads when the request asked for a stream; it records the bodies it was sent.
struct FakeEndpoint {
  struct Response {
    int status = 200;
    std::vector<std::string> reads;
    std::string error;
  };
  std::vector<Response> script;  // one per request, in order
  std::vector<std::string> bodies;
  std::vector<bool> streamed;

  Response Next() {
    EXPECT_LT(bodies.size(), script.size() + 1) << "more requests than scripted";
    return bodies.size() <= script.size() ? script[bodies.size() - 1] : Response{};
  }

  HttpFn Http() {
    return [this](const std::wstring&, const std::string&, const std::string& body, const std::string&,
                  const std::string&) {
      bodies.push_back(body);
      streamed.push_back(false);
      Response response = Next();
      std::string whole;
      for (const std::string& read : response.reads) whole += read;
      return HttpResult{response.status, whole, response.error};
    };
  }

  HttpStreamFn Stream() {
    return [this](const std::wstring&, const std::string&, const std::string& body, const std::string&,
                  const HttpPieceFn& onPiece) {
      bodies.push_back(body);
      streamed.push_back(true);
      Response response = Next();
      HttpResult result{response.status, "", response.error};
      for (const std::string& read : response.reads) {
        result.body += read;
        onPiece(response.status, read);
      }
      return result;
    };
  }
};

std::string PlainReply(const std::string& content) {
  return "{\"choices\":[{\"message\":{\"role\":\"assistant\",\"content\":" + JsonQuote(content) + "}}]}";
}

class StreamedChat : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLogSink([](const std::string&) {});
  }
  void TearDown() override { SetLogSink(nullptr); }

  // Solves through the streamed road; `texts` receives every growing text and `cutOff` the mark.
  TutorReply Solve(QueryKind kind = QueryKind::Ask) {
    const ChatStreaming streaming{endpoint.Stream(), [this](std::string_view text, bool cut) {
                                    texts.emplace_back(text);
                                    cutOff = cutOff || cut;
                                  }};
    return SolveWithChat(config, endpoint.Http(), &shapes, kind, QueryQuality::Fast, "Question:\nq", "", &streaming);
  }

  TutorConfig config = LocalChatConfig();
  FakeEndpoint endpoint;
  ChatShapeMemory shapes;
  std::vector<std::string> texts;
  bool cutOff = false;
};

// Whatever the chunking, a streamed reply ends exactly as the same text sent whole.
TEST_F(StreamedChat, EveryReplyTextStreamedInAnyChunkingEndsAsTheWholeReply) {
  std::mt19937 random(19);
  for (const char* sample : ReplySamples()) {
    const std::string text = sample;
    for (QueryKind kind : {QueryKind::Ask, QueryKind::Scan}) {
      FakeEndpoint whole;
      whole.script = {{200, {PlainReply(text)}, ""}};
      const TutorReply expected =
          SolveWithChat(config, whole.Http(), nullptr, kind, QueryQuality::Fast, "Question:\nq", "");
      if (!TrimAscii(text).empty()) ExpectSameReply(expected, ParseTutorReply(text, kind), text);
      for (int round = 0; round < 10; ++round) {
        const std::string body = chat_stream_fixture::StreamBody(text, random, 1 + round % 9);
        endpoint = FakeEndpoint();
        endpoint.script = {{200, chat_stream_fixture::Reads(body, random, 1 + round * 7), ""}};
        texts.clear();
        const TutorReply reply = Solve(kind);
        ExpectSameReply(reply, expected, text + " round " + std::to_string(round));
        EXPECT_EQ(texts.empty() ? std::string() : texts.back(), text);
        EXPECT_FALSE(cutOff);
      }
    }
  }
}

TEST(ChatStreamReader, EventsCommentsAndEndings) {
  struct Case {
    const char* name;
    std::string body;
    std::string text;
    ChatStreamReader::End end;
  };
  const std::string hello = Event(chat_stream_fixture::ContentDelta("Hel", false), false) +
                            Event(chat_stream_fixture::ContentDelta("lo", true), false);
  const Case cases[] = {
      {"done", hello + "data: [DONE]\n\n", "Hello", ChatStreamReader::End::Complete},
      {"finish reason, no done", hello + Event(R"({"choices":[{"delta":{},"finish_reason":"length"}]})", false),
       "Hello", ChatStreamReader::End::Complete},
      {"connection ends", hello, "Hello", ChatStreamReader::End::CutOff},
      {"error object", hello + Event(R"({"error":{"message":"overloaded"}})", false) +
                           Event(chat_stream_fixture::ContentDelta("!", false), false) + "data: [DONE]\n\n",
       "Hello", ChatStreamReader::End::Failed},
      {"null error is no error", Event(R"({"error":null,"choices":[{"delta":{"content":"ok"}}]})", false) +
                                     "data:[DONE]",
       "ok", ChatStreamReader::End::Complete},
      {"data over two lines", "data: {\"choices\":[{\"delta\":\ndata: {\"content\":\"two\"}}]}\n\ndata: [DONE]\n\n",
       "two", ChatStreamReader::End::Complete},
      {"bare CR line ends", "data: {\"choices\":[{\"delta\":{\"content\":\"cr\"}}]}\r\rdata: [DONE]\r\r", "cr",
       ChatStreamReader::End::Complete},
      {"nothing after done counts", "data: [DONE]\n\n" + hello, "", ChatStreamReader::End::Complete},
      {"junk events pass", ": ping\n\ndata: not json\n\ndata: [1,2]\n\nretry: 10\n\n" + hello + "data: [DONE]\n",
       "Hello", ChatStreamReader::End::Complete},
      {"plain JSON body", "\r\n {\"choices\":[{\"message\":{\"content\":\"x\"}}]}", "", ChatStreamReader::End::PlainBody},
      {"empty body", "", "", ChatStreamReader::End::CutOff},
  };
  for (const Case& c : cases) {
    for (size_t split = 1; split <= 7; split += 3) {
      ChatStreamReader reader;
      for (size_t at = 0; at < c.body.size(); at += split) reader.Feed(std::string_view(c.body).substr(at, split));
      EXPECT_EQ(reader.Finish(), c.end) << c.name;
      EXPECT_EQ(reader.Text(), c.text) << c.name;
    }
  }
}

// The live text shows an event's piece once its data line ends; the text waits for the blank line,
// and the live text does not change again when it comes.
TEST(ChatStreamReader, TheLiveTextRunsOneLineAhead) {
  struct Step {
    std::string feed;
    std::string text;
    std::string live;
    bool grew;
  };
  const std::string hel = "data: " + chat_stream_fixture::ContentDelta("Hel", false);
  const std::string lo = "data: " + chat_stream_fixture::ContentDelta("lo", false);
  const Step steps[] = {
      {hel, "", "", false},           // the line has not ended
      {"\n", "", "Hel", true},        // its data line has
      {"\n", "Hel", "Hel", false},    // the event has
      {lo + "\r\n", "Hel", "Hello", true},
      {"data: more\n", "Hel", "Hel", true},  // a second data line: read only once the event ends
      {"\n", "Hel", "Hel", false},             // ... as one that is not JSON
      {"data: [DONE]\n", "Hel", "Hel", false},
      {"\n" + lo + "\n", "Hel", "Hel", false},  // nothing after the end shows
  };
  ChatStreamReader reader;
  for (const Step& step : steps) {
    const unsigned before = reader.Growths();
    reader.Feed(step.feed);
    EXPECT_EQ(reader.Text(), step.text) << step.feed;
    EXPECT_EQ(reader.LiveText(), step.live) << step.feed;
    EXPECT_EQ(reader.Growths() != before, step.grew) << step.feed;
  }
  EXPECT_EQ(reader.Finish(), ChatStreamReader::End::Complete);
}

// ---- refusals -------------------------------------------------------------------------------------

TEST_F(StreamedChat, TheStreamFlagIsTheOnlyChangeToTheBody) {
  const std::string plain = BuildChatRequest(config, QueryQuality::Fast, "q", "", true);
  std::string streamed = BuildChatRequest(config, QueryQuality::Fast, "q", "", true, ChatTokenLimitField::MaxTokens, true);
  const size_t flag = streamed.find(",\"stream\":true");
  ASSERT_NE(flag, std::string::npos);
  EXPECT_LT(flag, streamed.find("\"messages\""));
  EXPECT_EQ(streamed.erase(flag, 14), plain);
}

TEST_F(StreamedChat, AnErrorNamingStreamIsAskedOnceMoreWithoutTheFlagAndRemembered) {
  endpoint.script = {{400, {R"({"error":{"message":"stream is not supported for this model"}})"}, ""},
                     {200, {PlainReply(R"({"answer":"4"})")}, ""},
                     {200, {PlainReply(R"({"answer":"5"})")}, ""}};
  EXPECT_EQ(Solve().text, L"4");
  ASSERT_EQ(endpoint.bodies.size(), 2u);
  EXPECT_EQ(endpoint.streamed, (std::vector<bool>{true, false}));
  EXPECT_EQ(endpoint.bodies[1], BuildChatRequest(config, QueryQuality::Fast, "Question:\nq", "", true));
  // The next question of that endpoint and model goes out unstreamed at once.
  EXPECT_EQ(Solve().text, L"5");
  EXPECT_EQ(endpoint.streamed, (std::vector<bool>{true, false, false}));
}

TEST_F(StreamedChat, APlainAnswerToAStreamedRequestIsTakenAndRemembered) {
  endpoint.script = {{200, {PlainReply(R"({"answer":"B) 4","option":2})")}, ""},
                     {200, {PlainReply(R"({"answer":"C"})")}, ""}};
  const TutorReply reply = Solve(QueryKind::Scan);
  EXPECT_EQ(reply.text, L"B) 4");
  EXPECT_EQ(reply.option, 1);
  EXPECT_TRUE(texts.empty());
  EXPECT_EQ(Solve().text, L"C");
  EXPECT_EQ(endpoint.streamed, (std::vector<bool>{true, false}));
}

TEST_F(StreamedChat, OtherRefusalsKeepTheStreamAndAtMostOneRequestIsAddedForIt) {
  endpoint.script = {{400, {"unsupported parameter: temperature (see the upstream docs)"}, ""},
                     {400, {"max_tokens is not supported when streaming; use max_completion_tokens"}, ""},
                     {200, {PlainReply(R"({"answer":"ok"})")}, ""}};
  EXPECT_EQ(Solve().text, L"ok");
  EXPECT_EQ(endpoint.streamed, (std::vector<bool>{true, true, false}));
  EXPECT_EQ(endpoint.bodies[2], BuildChatRequest(config, QueryQuality::Fast, "Question:\nq", "", false,
                                                 ChatTokenLimitField::MaxCompletionTokens));
  // Once every field and the stream are given up, a further 400 ends the query: four requests.
  endpoint = FakeEndpoint();
  endpoint.script = {{400, {"temperature"}, ""}, {400, {"max_tokens"}, ""}, {400, {"stream"}, ""}, {400, {"stream"}, ""}};
  config.model = "another-model";
  EXPECT_EQ(Solve().text, L"The tutor service rejected the request (HTTP 400). Check your model and endpoint settings.");
  EXPECT_EQ(endpoint.bodies.size(), 4u);
}

// ---- failures ---------------------------------------------------------------------------------

TEST_F(StreamedChat, AStreamThatBreaksOffKeepsItsTextMarkedAndEndsAsACutBodyDoes) {
  const std::string start = Event(chat_stream_fixture::ContentDelta(R"({"answer":"Pa)", false), false);
  const std::string error = Event(R"({"error":{"message":"server overloaded"}})", false);
  for (const FakeEndpoint::Response& response :
       {FakeEndpoint::Response{200, {start}, ""}, FakeEndpoint::Response{200, {start}, "response stalled"},
        FakeEndpoint::Response{200, {start, error}, ""}}) {
    endpoint = FakeEndpoint();
    endpoint.script = {response};
    texts.clear();
    cutOff = false;
    EXPECT_EQ(Solve().text, kUnreadable);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), R"({"answer":"Pa)");
    EXPECT_TRUE(cutOff);
  }
  endpoint = FakeEndpoint();
  endpoint.script = {{0, {}, "request failed (offline? wrong url?)"}};
  EXPECT_EQ(Solve().text, L"Couldn't reach the tutor service. Check your connection and base_url.");
  endpoint = FakeEndpoint();
  endpoint.script = {{401, {"{}"}, ""}};
  EXPECT_EQ(Solve().text, L"Access denied. Check the API key in your configuration.");
  // A reply whose finish was announced stands even when the connection then breaks.
  endpoint = FakeEndpoint();
  endpoint.script = {{200,
                      {Event(chat_stream_fixture::ContentDelta(R"({"answer":"done"})", false), false) +
                       Event(R"({"choices":[{"delta":{},"finish_reason":"stop"}]})", false)},
                      "response cut off"}};
  EXPECT_EQ(Solve().text, L"done");
}

}  // namespace
