// The platform OCR adapter where the platform has no OCR engine (Wine): the error path.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "screen/ocr.h"

namespace {

class PlatformOcr : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))); }
  void TearDown() override { CoUninitialize(); }
};

TEST_F(PlatformOcr, WithoutAnEngineReadingFailsWithAnExplainedError) {
  ScreenImage image;
  image.width = 64;
  image.height = 32;
  image.pixels.assign(64 * 32 * 4, 200);
  try {
    RecognizeScreenText(image);
    FAIL() << "expected no OCR engine here";
  } catch (const std::runtime_error& error) {
    const std::string message = error.what();
    // Wine has no Windows.Media.Ocr class at all (class not registered); a Windows without a
    // recognizer for the user's languages gives the language hint instead.
    EXPECT_TRUE(message.find("0x80040154") != std::string::npos || message == kNoOcrLanguageMessage) << message;
  }
}

}  // namespace
