// JPEG encoding with the platform encoder, checked with an independent decoder (ImageMagick,
// started as a Unix program from inside Wine).
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "screen/tests/base64_decode.h"
#include "screen/tests/test_images.h"
#include "screen/vision_image.h"

namespace {

struct Colour {
  std::uint8_t blue, green, red;
};
constexpr Colour kLeft = {40, 120, 200};
constexpr Colour kRight = {200, 60, 20};

// Left half one colour, right half another; the fourth byte as given.
ScreenImage TwoColourImage(int width, int height, std::uint8_t fourth) {
  return MakeTestImage(width, height, [&](int x, int) {
    const Colour c = x < width / 2 ? kLeft : kRight;
    return TestPixel{c.blue, c.green, c.red, fourth};
  });
}

std::vector<std::uint8_t> JpegOf(const std::string& dataUrl) {
  return DecodeBase64ForTest(std::string_view(dataUrl).substr(std::string_view(kJpegDataUrlPrefix).size()));
}

// A scratch directory under the Unix /tmp, seen from Wine through drive Z:.
class ScratchDirectory {
 public:
  ScratchDirectory() {
    unixPath_ = "/tmp/vyk-screen-jpeg-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount64());
    CreateDirectoryW(WindowsPath("").c_str(), nullptr);
  }
  ~ScratchDirectory() {
    for (const char* name : {"in.jpg", "out.txt", "out.tmp"}) DeleteFileW(WindowsPath(name).c_str());
    RemoveDirectoryW(WindowsPath("").c_str());
  }
  std::string UnixPath(const std::string& name) const { return unixPath_ + "/" + name; }
  std::wstring WindowsPath(const std::string& name) const {
    std::wstring path = L"Z:";
    for (char c : UnixPath(name)) path.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(c));
    return path;
  }

 private:
  std::string unixPath_;
};

// Runs a Unix shell command and waits (with a time-out) until it has written `resultFile`.
std::string RunUnixAndRead(const std::string& command, const std::wstring& resultFile) {
  std::wstring line = L"/bin/sh -c \"";
  for (char c : command) line.push_back(static_cast<wchar_t>(c));
  line += L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return {};
  }
  WaitForSingleObject(process.hProcess, 60000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (GetFileAttributesW(resultFile.c_str()) == INVALID_FILE_ATTRIBUTES) {
    if (std::chrono::steady_clock::now() > deadline) return {};
    WaitForSingleObject(GetCurrentProcess(), 50);  // wakes only on time-out: a bounded poll
  }
  std::ifstream file{std::filesystem::path(resultFile)};
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// ImageMagick's description of a JPEG in the given -format, or "" when it gave none.
std::string DescribeJpeg(const std::vector<std::uint8_t>& jpeg, const std::string& format) {
  ScratchDirectory scratch;
  {
    std::ofstream file(std::filesystem::path(scratch.WindowsPath("in.jpg")), std::ios::binary);
    file.write(reinterpret_cast<const char*>(jpeg.data()), static_cast<std::streamsize>(jpeg.size()));
  }
  return RunUnixAndRead("convert '" + scratch.UnixPath("in.jpg") + "' -format '" + format + "' info: > '" +
                            scratch.UnixPath("out.tmp") + "' && mv '" + scratch.UnixPath("out.tmp") + "' '" +
                            scratch.UnixPath("out.txt") + "'",
                        scratch.WindowsPath("out.txt"));
}

class VisionJpeg : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))); }
  void TearDown() override { CoUninitialize(); }
};

TEST_F(VisionJpeg, AnIndependentDecoderReadsTheSizeAndColours) {
  ScreenImage image = TwoColourImage(160, 90, 0);
  const std::string url = EncodeVisionImage(image);
  ASSERT_EQ(url.rfind(kJpegDataUrlPrefix, 0), 0u);
  ASSERT_EQ((url.size() - std::string_view(kJpegDataUrlPrefix).size()) % 4, 0u);
  const std::vector<std::uint8_t> jpeg = JpegOf(url);
  ASSERT_GT(jpeg.size(), 4u);

  const std::string report = DescribeJpeg(jpeg,
                                          "%w %h %[fx:p{20,45}.r*255] %[fx:p{20,45}.g*255] %[fx:p{20,45}.b*255] "
                                          "%[fx:p{140,45}.r*255] %[fx:p{140,45}.g*255] %[fx:p{140,45}.b*255] %m");
  ASSERT_FALSE(report.empty()) << "ImageMagick gave no answer";
  std::istringstream fields(report);
  int width = 0, height = 0;
  double left[3] = {}, right[3] = {};
  std::string magick;
  fields >> width >> height >> left[0] >> left[1] >> left[2] >> right[0] >> right[1] >> right[2] >> magick;
  EXPECT_EQ(width, 160);
  EXPECT_EQ(height, 90);
  EXPECT_EQ(magick, "JPEG");
  EXPECT_NEAR(left[0], kLeft.red, 6);
  EXPECT_NEAR(left[1], kLeft.green, 6);
  EXPECT_NEAR(left[2], kLeft.blue, 6);
  EXPECT_NEAR(right[0], kRight.red, 6);
  EXPECT_NEAR(right[1], kRight.green, 6);
  EXPECT_NEAR(right[2], kRight.blue, 6);
}

// The encoder takes the rows in strips: a picture several strips tall comes out whole and in
// order, its top half and its bottom half each in their own colour.
TEST_F(VisionJpeg, AnImageSeveralStripsTallComesOutWholeAndInOrder) {
  const int height = kJpegStripRows * 3 + 10;
  ScreenImage image = MakeTestImage(48, height, [&](int, int y) {
    const Colour c = y < height / 2 ? kLeft : kRight;
    return TestPixel{c.blue, c.green, c.red, 0};
  });
  const std::string top = "p{24,10}", bottom = "p{24," + std::to_string(height - 10) + "}";
  const std::string report =
      DescribeJpeg(JpegOf(EncodeVisionImage(image)),
                   "%w %h %[fx:" + top + ".r*255] %[fx:" + top + ".g*255] %[fx:" + top + ".b*255] %[fx:" + bottom +
                       ".r*255] %[fx:" + bottom + ".g*255] %[fx:" + bottom + ".b*255]");
  ASSERT_FALSE(report.empty()) << "ImageMagick gave no answer";
  std::istringstream fields(report);
  int width = 0, decodedHeight = 0;
  double upper[3] = {}, lower[3] = {};
  fields >> width >> decodedHeight >> upper[0] >> upper[1] >> upper[2] >> lower[0] >> lower[1] >> lower[2];
  EXPECT_EQ(width, 48);
  EXPECT_EQ(decodedHeight, height);
  const Colour expected[2] = {kLeft, kRight};
  const double* decoded[2] = {upper, lower};
  for (int half = 0; half < 2; ++half) {
    EXPECT_NEAR(decoded[half][0], expected[half].red, 6) << "half " << half;
    EXPECT_NEAR(decoded[half][1], expected[half].green, 6) << "half " << half;
    EXPECT_NEAR(decoded[half][2], expected[half].blue, 6) << "half " << half;
  }
}

TEST_F(VisionJpeg, TheFourthByteMakesNoDifferenceAndIsForcedOpaque) {
  ScreenImage clear = TwoColourImage(33, 17, 0);
  ScreenImage opaque = TwoColourImage(33, 17, 255);
  const std::string fromClear = EncodeVisionImage(clear);
  EXPECT_FALSE(fromClear.empty());
  EXPECT_EQ(fromClear, EncodeVisionImage(opaque));
  for (std::size_t alpha = 3; alpha < clear.pixels.size(); alpha += 4) ASSERT_EQ(clear.pixels[alpha], 255);
}

TEST_F(VisionJpeg, TheFileIsACompleteJpegWithoutExtraMetadata) {
  ScreenImage image = TwoColourImage(64, 48, 0);
  const std::vector<std::uint8_t> jpeg = JpegOf(EncodeVisionImage(image));
  ASSERT_GT(jpeg.size(), 4u);
  EXPECT_EQ(jpeg[0], 0xFF);
  EXPECT_EQ(jpeg[1], 0xD8);
  EXPECT_EQ(jpeg[jpeg.size() - 2], 0xFF);
  EXPECT_EQ(jpeg[jpeg.size() - 1], 0xD9);
  const std::string bytes(jpeg.begin(), jpeg.end());
  EXPECT_EQ(bytes.find("Exif"), std::string::npos);  // no metadata block, hence no thumbnail
}

}  // namespace
