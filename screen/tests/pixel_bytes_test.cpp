#include "screen/pixel_bytes.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(PixelBytes, GrowingAndShrinkingKeepTheBytesBefore) {
  PixelBytes bytes = {1, 2, 3};
  bytes.resize(2);
  EXPECT_EQ(bytes, (Bytes{1, 2}));
  bytes.resize(1000);  // past the capacity: the kept bytes move to the new block
  ASSERT_EQ(bytes.size(), 1000u);
  EXPECT_EQ(bytes[0], 1);
  EXPECT_EQ(bytes[1], 2);
  for (int i = 0; i < 40; ++i) bytes.push_back(static_cast<std::uint8_t>(i));
  ASSERT_EQ(bytes.size(), 1040u);
  EXPECT_EQ(bytes[1], 2);
  EXPECT_EQ(bytes[1039], 39);
  bytes.resize(0);
  EXPECT_TRUE(bytes.empty());
  bytes.push_back(7);
  EXPECT_EQ(bytes, Bytes{7});
}

TEST(PixelBytes, CopiesAreIndependentAndMovesEmptyTheSource) {
  PixelBytes original;
  original.assign(5, 9);
  PixelBytes copy = original;
  copy[0] = 1;
  EXPECT_EQ(original, (Bytes{9, 9, 9, 9, 9}));
  EXPECT_EQ(copy, (Bytes{1, 9, 9, 9, 9}));
  PixelBytes assigned;
  assigned = copy;
  EXPECT_EQ(assigned, copy);
  PixelBytes moved = std::move(copy);
  EXPECT_TRUE(copy.empty());  // NOLINT: a moved-from buffer is empty by contract
  EXPECT_EQ(moved, (Bytes{1, 9, 9, 9, 9}));
  const Bytes plain = moved;
  EXPECT_EQ(plain, (Bytes{1, 9, 9, 9, 9}));
  EXPECT_EQ(PixelBytes{}, Bytes{});
  EXPECT_FALSE(moved == (Bytes{1, 9, 9, 9}));
}

}  // namespace
