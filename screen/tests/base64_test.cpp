#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "screen/base64.h"
#include "screen/tests/base64_decode.h"

namespace {

std::string Encode(const std::string& bytes) {
  return Base64Encode(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

TEST(Base64, MatchesTheStandardVectors) {
  EXPECT_EQ(Encode(""), "");
  EXPECT_EQ(Encode("f"), "Zg==");
  EXPECT_EQ(Encode("fo"), "Zm8=");
  EXPECT_EQ(Encode("foo"), "Zm9v");
  EXPECT_EQ(Encode("foob"), "Zm9vYg==");
  EXPECT_EQ(Encode("fooba"), "Zm9vYmE=");
  EXPECT_EQ(Encode("foobar"), "Zm9vYmFy");
  EXPECT_EQ(Encode("abc"), "YWJj");
}

TEST(Base64, PadsPartialGroupsAndUsesTheLastTwoLetters) {
  EXPECT_EQ(Encode("\xFF"), "/w==");
  EXPECT_EQ(Encode("\xFF\xFF"), "//8=");
  EXPECT_EQ(Encode("\xFF\xFF\xFF"), "////");
  EXPECT_EQ(Encode("\xFB\xEF\xBE"), "++++");
  EXPECT_EQ(Encode(std::string("\0\0\0\0", 4)), "AAAAAA==");
}

TEST(Base64, RoundTripsEveryLengthAndByteValue) {
  std::mt19937 random(7);
  for (std::size_t length = 0; length < 300; ++length) {
    std::vector<std::uint8_t> bytes(length);
    for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<std::uint8_t>(length < 256 ? i : random());
    const std::string text = Base64Encode(bytes.data(), bytes.size());
    ASSERT_EQ(text.size(), (length + 2) / 3 * 4) << length;
    ASSERT_EQ(DecodeBase64ForTest(text), bytes) << length;
  }
}

// Long inputs go through the wide loop of processors that have one; every offset within its
// 24-byte steps and every tail length must still come back exactly.
TEST(Base64, RoundTripsLongRandomInputsWithEveryTail) {
  std::mt19937 random(11);
  for (std::size_t length = 64 * 1024; length < 64 * 1024 + 30; ++length) {
    std::vector<std::uint8_t> bytes(length);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    const std::string text = Base64Encode(bytes.data(), bytes.size());
    ASSERT_EQ(text.size(), (length + 2) / 3 * 4) << length;
    ASSERT_EQ(DecodeBase64ForTest(text), bytes) << length;
  }
}

TEST(Base64, AppendingKeepsWhatWasThereAndAddsTheSameText) {
  std::string out = "data:";
  const std::string bytes(100, '\xC3');
  AppendBase64(out, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  EXPECT_EQ(out, "data:" + Encode(bytes));
  AppendBase64(out, nullptr, 0);
  EXPECT_EQ(out, "data:" + Encode(bytes));
}

}  // namespace
