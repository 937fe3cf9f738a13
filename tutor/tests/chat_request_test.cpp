#include "tutor/chat_request.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tutor/tests/local_chat_config.h"

namespace {

// The system prompt as it travels on the wire: an ASCII text whose only characters needing
// escapes are double quotes and backslashes.
std::string QuotedAscii(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

const std::string kSystem = QuotedAscii(ChatSystemPrompt());

uint64_t Fnv1a64(std::string_view bytes) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (unsigned char b : bytes) hash = (hash ^ b) * 0x100000001b3ull;
  return hash;
}

TEST(ChatSystemPrompt, IsTheFixedOneLineAsciiText) {
  const std::string_view prompt = ChatSystemPrompt();
  EXPECT_EQ(prompt.size(), 1354u);
  EXPECT_EQ(Fnv1a64(prompt), 0x1a2da263a7760e82ull);  // the whole text, byte for byte
  EXPECT_EQ(prompt.substr(0, 22), "You are a study tutor.");
  EXPECT_EQ(prompt.find('\n'), std::string_view::npos);
  for (char c : prompt) EXPECT_TRUE(static_cast<unsigned char>(c) < 0x80);
  // The LaTeX examples keep their doubled backslashes, so each travels as four on the wire.
  EXPECT_NE(prompt.find(R"("$\\frac{x^2+1}{2}$")"), std::string_view::npos);
  EXPECT_NE(kSystem.find(R"($\\\\int_0^\\\\pi \\\\sin(x)\\\\,dx$)"), std::string::npos);
}

TEST(BuildChatRequest, FastWithoutEffortHasModelTemperatureLimitAndMessagesInOrder) {
  const std::string body = BuildChatRequest(LocalChatConfig(), QueryQuality::Fast, "Question:\nWhat is 2+2?", "", true);
  EXPECT_EQ(body, "{\"model\":\"gpt-4o-mini\",\"temperature\":0,\"max_tokens\":4096,"
                  "\"messages\":[{\"role\":\"system\",\"content\":" + kSystem +
                  "},{\"role\":\"user\",\"content\":\"Question:\\nWhat is 2+2?\"}]}");
}

TEST(BuildChatRequest, EffortStandsBetweenLimitAndMessagesAndTemperatureCanBeLeftOut) {
  TutorConfig config = LocalChatConfig();
  config.reasoningEffort = "low";
  EXPECT_EQ(BuildChatRequest(config, QueryQuality::Fast, "q", "", false),
            "{\"model\":\"gpt-4o-mini\",\"max_tokens\":4096,\"reasoning_effort\":\"low\","
            "\"messages\":[{\"role\":\"system\",\"content\":" + kSystem +
            "},{\"role\":\"user\",\"content\":\"q\"}]}");
}

TEST(BuildChatRequest, ImageMakesTheUserContentATextThenImageArray) {
  const std::string body =
      BuildChatRequest(LocalChatConfig(), QueryQuality::Fast, "Solve the question shown in this screen snip.",
                       "data:image/jpeg;base64,/9j/AA==", true);
  EXPECT_EQ(body, "{\"model\":\"gpt-4o-mini\",\"temperature\":0,\"max_tokens\":4096,"
                  "\"messages\":[{\"role\":\"system\",\"content\":" + kSystem +
                  "},{\"role\":\"user\",\"content\":[{\"type\":\"text\",\"text\":"
                  "\"Solve the question shown in this screen snip.\"},{\"type\":\"image_url\","
                  "\"image_url\":{\"url\":\"data:image/jpeg;base64,/9j/AA==\",\"detail\":\"auto\"}}]}]}");
}

TEST(BuildChatRequest, DeepPicksDeepModelAndEffortOnlyWhenConfigured) {
  TutorConfig config = LocalChatConfig();
  config.reasoningEffort = "low";
  const std::string fastHead = "{\"model\":\"gpt-4o-mini\",\"max_tokens\":4096,\"reasoning_effort\":\"low\",";
  EXPECT_EQ(BuildChatRequest(config, QueryQuality::Deep, "q", "", false).substr(0, fastHead.size()), fastHead);

  config.deepModel = "o4-mini";
  config.deepReasoningEffort = "high";
  const std::string deepHead = "{\"model\":\"o4-mini\",\"max_tokens\":4096,\"reasoning_effort\":\"high\",";
  EXPECT_EQ(BuildChatRequest(config, QueryQuality::Deep, "q", "", false).substr(0, deepHead.size()), deepHead);
  EXPECT_EQ(BuildChatRequest(config, QueryQuality::Fast, "q", "", false).substr(0, fastHead.size()), fastHead);
}

TEST(BuildChatRequest, CompletionLimitFieldTakesThePlaceOfMaxTokens) {
  const std::string body = BuildChatRequest(LocalChatConfig(), QueryQuality::Fast, "q", "", true,
                                            ChatTokenLimitField::MaxCompletionTokens);
  const std::string head = "{\"model\":\"gpt-4o-mini\",\"temperature\":0,\"max_completion_tokens\":4096,\"messages\":";
  EXPECT_EQ(body.substr(0, head.size()), head);
  EXPECT_EQ(body.find("\"max_tokens\""), std::string::npos);
}

TEST(BuildChatRequest, UserTextAndModelAreEscaped) {
  TutorConfig config = LocalChatConfig();
  config.model = "m\"1";
  const std::string body = BuildChatRequest(config, QueryQuality::Fast, "a\"b\\c\t\x01 \xC3\xA9", "", false);
  EXPECT_EQ(body.substr(0, 15), "{\"model\":\"m\\\"1\"");
  EXPECT_NE(body.find("\"content\":\"a\\\"b\\\\c\\t\\u0001 \xC3\xA9\"}]}"), std::string::npos);
}

struct RecordedCall {
  std::wstring method;
  std::string url, body, bearer, deviceHash;
};

TEST(PostChatCompletion, PostsToTheEndpointWithTheKeyAndNoDeviceHash) {
  std::vector<RecordedCall> calls;
  HttpFn http = [&](const std::wstring& method, const std::string& url, const std::string& body,
                    const std::string& bearer, const std::string& hash) {
    calls.push_back({method, url, body, bearer, hash});
    return HttpResult{200, "{}", ""};
  };
  TutorConfig config = LocalChatConfig();
  config.baseUrl = "http://127.0.0.1:9/v1//";
  const HttpResult result = PostChatCompletion(config, "BODY", http);
  config.baseUrl = "http://127.0.0.1:9/v1";
  config.apiKey.clear();
  PostChatCompletion(config, "BODY", http);

  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(result.status, 200);
  for (const RecordedCall& call : calls) {
    EXPECT_EQ(call.method, L"POST");
    EXPECT_EQ(call.url, "http://127.0.0.1:9/v1/chat/completions");
    EXPECT_EQ(call.body, "BODY");
    EXPECT_EQ(call.deviceHash, "");
  }
  EXPECT_EQ(calls[0].bearer, "sk-secret-key-123");
  EXPECT_EQ(calls[1].bearer, "");
}

TEST(ExtractChatContent, TakesTheFirstChoicesStringOrJoinedTextParts) {
  std::string content = "untouched";
  ASSERT_TRUE(ExtractChatContent(
      R"({"choices":[{"message":{"role":"assistant","content":"  {\"answer\":\"4\"}\n"}},{"message":{"content":"second"}}]})",
      content));
  EXPECT_EQ(content, "  {\"answer\":\"4\"}\n");  // stored untrimmed

  ASSERT_TRUE(ExtractChatContent(
      R"({"choices":[{"message":{"content":[{"type":"text","text":"ab"},{"type":"image","text":"x"},)"
      R"("skip",{"type":"text","text":7},{"type":"text","text":"cd"}]}}]})",
      content));
  EXPECT_EQ(content, "abcd");

  ASSERT_TRUE(ExtractChatContent(R"({"error":null,"choices":[{"message":{"content":"ok"}}]})", content));
  EXPECT_EQ(content, "ok");
}

TEST(ExtractChatContent, FailsForErrorsMissingChoicesAndBlankText) {
  const char* failures[] = {
      R"({"error":{"message":"bad key"},"choices":[{"message":{"content":"x"}}]})",
      R"({"choices":[]})",
      R"({"choices":{}})",
      R"({"id":"x"})",
      R"([{"message":{"content":"x"}}])",
      "not json",
      "",
      R"({"choices":[{"message":{"content":" \n\t "}}]})",
      R"({"choices":[{"message":{"content":null}}]})",
      R"({"choices":[{"message":"text"}]})",
      R"({"choices":[{}]})",
      R"({"choices":[7]})",
      R"({"choices":[{"message":{"content":[{"type":"image_url"}]}}]})",
  };
  for (const char* body : failures) {
    std::string content = "untouched";
    EXPECT_FALSE(ExtractChatContent(body, content)) << body;
    EXPECT_EQ(content, "untouched") << body;
  }
}

}  // namespace
