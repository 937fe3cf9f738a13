#include "tutor/chat_shapes.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

using Field = ChatTokenLimitField;

TEST(ChatShapeMemory, RemembersRefusalsPerEndpointAndModel) {
  ChatShapeMemory memory;
  const ChatShape full;
  EXPECT_EQ(memory.Recall("http://a/v1", "o4-mini"), full);

  memory.Remember("http://a/v1/", "o4-mini", {false, Field::MaxCompletionTokens});
  const ChatShape reasoning{false, Field::MaxCompletionTokens};
  const struct {
    const char* baseUrl;
    const char* model;
    ChatShape expected;
  } cases[] = {
      {"http://a/v1", "o4-mini", reasoning},    // trailing slashes name the same endpoint
      {"http://a/v1//", "o4-mini", reasoning},
      {"http://a/v1", "gpt-4o-mini", full},     // another model of the same endpoint
      {"http://b/v1", "o4-mini", full},         // the same model elsewhere
      {"http://a/v2", "o4-mini", full},
  };
  for (const auto& c : cases) EXPECT_EQ(memory.Recall(c.baseUrl, c.model), c.expected) << c.baseUrl << " " << c.model;
}

TEST(ChatShapeMemory, AFieldOnceGivenUpStaysGivenUp) {
  ChatShapeMemory memory;
  memory.Remember("http://a/v1", "m", {false, Field::MaxTokens});
  memory.Remember("http://a/v1", "m", {true, Field::MaxCompletionTokens});
  EXPECT_EQ(memory.Recall("http://a/v1", "m"), (ChatShape{false, Field::MaxCompletionTokens}));
  memory.Remember("http://a/v1", "m", ChatShape{});
  EXPECT_EQ(memory.Recall("http://a/v1", "m"), (ChatShape{false, Field::MaxCompletionTokens}));
}

TEST(ChatShapeMemory, WorkersLearningAtOnceLoseNothing) {
  ChatShapeMemory memory;
  std::vector<std::thread> workers;
  for (int w = 0; w < 4; ++w) {
    workers.emplace_back([&memory, w] {
      for (int i = 0; i < 200; ++i) {
        const std::string model = "m" + std::to_string(i);
        if (w % 2 == 0) memory.Remember("http://a/v1", model, {false, Field::MaxTokens});
        else memory.Remember("http://a/v1", model, {true, Field::MaxCompletionTokens});
        memory.Recall("http://a/v1", model);
      }
    });
  }
  for (std::thread& worker : workers) worker.join();
  for (int i = 0; i < 200; ++i) {
    EXPECT_EQ(memory.Recall("http://a/v1", "m" + std::to_string(i)), (ChatShape{false, Field::MaxCompletionTokens}));
  }
}

}  // namespace
