#include <gtest/gtest.h>

#include <deque>
#include <stdexcept>

#include "screen/ocr.h"
#include "screen/tests/test_images.h"

namespace {

// An image whose every pixel encodes its own position: blue and green hold x, red holds y, and
// the fourth byte is 0, so a recogniser can tell where a tile came from and whether it is opaque.
ScreenImage PositionImage(int width, int height) {
  return MakeTestImage(width, height, [](int x, int y) {
    return TestPixel{static_cast<std::uint8_t>(x & 0xFF), static_cast<std::uint8_t>(x >> 8),
                     static_cast<std::uint8_t>(y & 0xFF), 0};
  });
}

struct SeenTile {
  int x, y, width, height;
  bool opaque;
  bool pixelsMatchPosition;
};

class FakeRecognizer : public TextRecognizer {
 public:
  FakeRecognizer(int maxSide, std::vector<SeenTile>* seen, std::deque<std::vector<std::wstring>> replies)
      : maxSide_(maxSide), seen_(seen), replies_(std::move(replies)) {}

  int MaxImageDimension() override { return maxSide_; }

  std::vector<std::wstring> RecognizeLines(const std::uint8_t* bgra, int width, int height) override {
    const int x = bgra[0] | (bgra[1] << 8);
    const int y = bgra[2];
    bool opaque = true;
    bool matches = true;
    for (int row = 0; row < height; ++row) {
      for (int column = 0; column < width; ++column) {
        const std::uint8_t* p = bgra + (static_cast<std::size_t>(row) * width + column) * 4;
        opaque = opaque && p[3] == 255;
        matches = matches && (p[0] | (p[1] << 8)) == x + column && p[2] == ((y + row) & 0xFF);
      }
    }
    seen_->push_back({x, y, width, height, opaque, matches});
    if (replies_.empty()) return {};
    std::vector<std::wstring> lines = std::move(replies_.front());
    replies_.pop_front();
    return lines;
  }

 private:
  int maxSide_;
  std::vector<SeenTile>* seen_;
  std::deque<std::vector<std::wstring>> replies_;
};

TextRecognizerFactory FakeFactory(int maxSide, std::vector<SeenTile>* seen,
                                  std::deque<std::vector<std::wstring>> replies = {}) {
  return [=] { return std::make_unique<FakeRecognizer>(maxSide, seen, replies); };
}

TEST(OcrTiling, AnImageThatFitsIsOneTile) {
  std::vector<SeenTile> seen;
  RecognizeScreenTextWith(PositionImage(200, 150), FakeFactory(200, &seen));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].x, 0);
  EXPECT_EQ(seen[0].width, 200);
  EXPECT_EQ(seen[0].height, 150);
  EXPECT_TRUE(seen[0].opaque);
  EXPECT_TRUE(seen[0].pixelsMatchPosition);
}

TEST(OcrTiling, OneColumnTooWideGivesASecondOverlappingColumn) {
  const int maxSide = 250;
  std::vector<SeenTile> seen;
  RecognizeScreenTextWith(PositionImage(maxSide + 1, 100), FakeFactory(maxSide, &seen));
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].x, 0);
  EXPECT_EQ(seen[0].width, maxSide);
  EXPECT_EQ(seen[1].x, maxSide - 96);
  EXPECT_EQ(seen[1].width, 97);
  for (const SeenTile& tile : seen) {
    EXPECT_EQ(tile.height, 100);
    EXPECT_TRUE(tile.opaque);
    EXPECT_TRUE(tile.pixelsMatchPosition);
  }
}

TEST(OcrTiling, TilesRunRowByRowAndCoverTheWholeImage) {
  const std::vector<OcrTile> tiles = PlanOcrTiles(500, 230, 200);
  // Steps of 104 across (0, 104, 208, 312, 416) and down (0, 104, 208).
  ASSERT_EQ(tiles.size(), 15u);
  EXPECT_EQ(tiles[0].x, 0);
  EXPECT_EQ(tiles[4].x, 416);
  EXPECT_EQ(tiles[4].width, 84);
  EXPECT_EQ(tiles[5].x, 0);
  EXPECT_EQ(tiles[5].y, 104);
  EXPECT_EQ(tiles[14].y, 208);
  EXPECT_EQ(tiles[14].height, 22);
  for (const OcrTile& tile : tiles) {
    EXPECT_LE(tile.width, 200);
    EXPECT_LE(tile.height, 200);
    EXPECT_LE(tile.x + tile.width, 500);
    EXPECT_LE(tile.y + tile.height, 230);
  }
  EXPECT_EQ(tiles[3].x + tiles[3].width, 500);  // the last full tile reaches the right edge
}

TEST(OcrTiling, AnEngineLimitNotAboveTheOverlapIsRefusedInsteadOfLoopingForever) {
  EXPECT_THROW(PlanOcrTiles(1000, 1000, 96), std::runtime_error);
  EXPECT_THROW(PlanOcrTiles(1000, 1000, 0), std::runtime_error);
  EXPECT_EQ(PlanOcrTiles(1000, 50, 97).size(), 1000u);  // step 1 across, one row
}

TEST(OcrJoining, DropsALineRepeatedAcrossATileBorder) {
  std::vector<SeenTile> seen;
  const std::wstring text = RecognizeScreenTextWith(
      PositionImage(100, 300), FakeFactory(200, &seen, {{L"Question 4", L"What is 2 + 2?"},
                                                        {L"  what is 2 + 2?\r", L"A) 4", L"B) 5"}}));
  EXPECT_EQ(seen.size(), 3u);  // rows at 0, 104 and 208; the last one reads nothing
  EXPECT_EQ(text, L"Question 4\nWhat is 2 + 2?\nA) 4\nB) 5");
}

TEST(OcrJoining, KeepsTheFirstSpellingAndSkipsBlankLinesWithoutForgettingTheLastOne) {
  OcrLineJoiner joiner;
  joiner.Add(L"  Total Cost ");
  joiner.Add(L"\t \r\n");
  joiner.Add(L"");
  joiner.Add(L"TOTAL COST");
  joiner.Add(L"total cost\t");
  EXPECT_EQ(joiner.Text(), L"  Total Cost ");
}

TEST(OcrJoining, RepeatsFurtherDownAreKept) {
  OcrLineJoiner joiner;
  for (const wchar_t* line : {L"x = 1", L"next", L"x = 1", L"x = 1"}) joiner.Add(line);
  EXPECT_EQ(joiner.Text(), L"x = 1\nnext\nx = 1");
}

TEST(OcrJoining, FoldsOnlyAsciiLetters) {
  OcrLineJoiner joiner;
  joiner.Add(L"\u00C9T\u00C9");
  joiner.Add(L"\u00E9t\u00E9");
  joiner.Add(L"\u00E9T\u00E9");
  EXPECT_EQ(joiner.Text(), L"\u00C9T\u00C9\n\u00E9t\u00E9");
}

TEST(OcrErrors, NoEngineRaisesTheLanguageHintAndReadsNothing) {
  int created = 0;
  const TextRecognizerFactory none = [&]() -> std::unique_ptr<TextRecognizer> {
    ++created;
    return nullptr;
  };
  try {
    RecognizeScreenTextWith(PositionImage(10, 10), none);
    FAIL() << "expected an error";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), kNoOcrLanguageMessage);
  }
  EXPECT_EQ(created, 1);
  EXPECT_THROW(RecognizeScreenTextWith(PositionImage(10, 10), TextRecognizerFactory{}), std::runtime_error);
}

TEST(OcrErrors, EngineFailuresPassThroughAndBadImagesAreRefused) {
  class Failing : public TextRecognizer {
    int MaxImageDimension() override { return 1000; }
    std::vector<std::wstring> RecognizeLines(const std::uint8_t*, int, int) override {
      throw std::runtime_error("recognition failed (0x80004005)");
    }
  };
  const TextRecognizerFactory failing = [] { return std::make_unique<Failing>(); };
  EXPECT_THROW(RecognizeScreenTextWith(PositionImage(10, 10), failing), std::runtime_error);

  ScreenImage truncated = PositionImage(10, 10);
  truncated.pixels.resize(40);
  std::vector<SeenTile> seen;
  EXPECT_THROW(RecognizeScreenTextWith(truncated, FakeFactory(100, &seen)), std::invalid_argument);
  EXPECT_TRUE(seen.empty());

  EXPECT_EQ(RecognizeScreenTextWith(ScreenImage{}, FakeFactory(100, &seen)), L"");
  EXPECT_TRUE(seen.empty());
}

}  // namespace
