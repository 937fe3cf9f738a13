#include "net/json_plain_run.h"

#include <gtest/gtest.h>

#include <string>

#include "net/json.h"

namespace {

// Every scan this machine runs finds the first byte that needs escaping at every offset of texts
// that cover the block loops and their tails, and never stops early on a byte that needs none
// (the neighbours of the quote, the backslash and the control range, high bytes included).
TEST(JsonPlainRun, EveryScanStopsExactlyAtTheFirstByteToEscape) {
  const unsigned char escaped[] = {0x00, 0x01, 0x0A, 0x1F, '"', '\\'};
  const unsigned char plain[] = {0x20, 0x21, 0x23, 0x5B, 0x5D, 0x7F, 0x80, 0xA2, 0xDC, 0xFF};
  for (const JsonRunScan scan : JsonPlainRunScans()) {
    for (std::size_t size : {0u, 1u, 15u, 16u, 17u, 31u, 32u, 33u, 63u, 64u, 65u, 127u, 128u, 129u, 200u}) {
      const std::string text(size, 'A');
      ASSERT_EQ(scan(text.data(), size), size);
      for (std::size_t at = 0; at < size; ++at) {
        for (const unsigned char c : escaped) {
          std::string probe = text;
          probe[at] = static_cast<char>(c);
          probe.back() = at + 1 < size ? '"' : probe.back();  // a later escape never hides the first
          ASSERT_EQ(scan(probe.data(), size), at) << "size " << size << " byte " << int(c) << " at " << at;
        }
        for (const unsigned char c : plain) {
          std::string probe = text;
          probe[at] = static_cast<char>(c);
          ASSERT_EQ(scan(probe.data(), size), size) << "size " << size << " byte " << int(c) << " at " << at;
        }
      }
    }
  }
}

TEST(JsonPlainRun, QuotingALongTextEscapesOnlyWhatItMust) {
  std::string text(200, 'Q');
  text[0] = '"';
  text[70] = '\n';
  text[71] = '\x01';
  text[199] = '\\';
  const std::string expected =
      "\"\\\"" + std::string(69, 'Q') + "\\n\\u0001" + std::string(127, 'Q') + "\\\\\"";
  EXPECT_EQ(JsonQuote(text), expected);
}

}  // namespace
