#include "net/json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

std::string ParseString(const std::string& literal) {
  JsonValue v = JsonParse(literal);
  EXPECT_EQ(v.type, JsonValue::String) << literal;
  return v.string;
}

bool IsNull(const JsonValue& v) { return v.type == JsonValue::Null; }

std::string Nested(int depth, const std::string& inner) {
  return std::string(depth, '[') + inner + std::string(depth, ']');
}

}  // namespace

TEST(JsonParse, ReadsEveryKindOfValueInDocumentOrder) {
  JsonValue v = JsonParse(
      " {\"s\":\"x\", \"n\": -12.5e1, \"t\":true,\"f\":false,\"z\":null,"
      "\"a\":[1, [], {}],\"o\":{\"k\":\"v\"}}\r\n\t");
  ASSERT_EQ(v.type, JsonValue::Object);
  ASSERT_EQ(v.members.size(), 7u);
  EXPECT_EQ(v.members[0].first, "s");
  EXPECT_EQ(v.members[6].first, "o");
  EXPECT_EQ(JsonFind(v, "s")->string, "x");
  EXPECT_DOUBLE_EQ(JsonFind(v, "n")->number, -125.0);
  EXPECT_EQ(JsonFind(v, "t")->type, JsonValue::Boolean);
  EXPECT_TRUE(JsonFind(v, "t")->boolean);
  EXPECT_FALSE(JsonFind(v, "f")->boolean);
  EXPECT_EQ(JsonFind(v, "z")->type, JsonValue::Null);
  const JsonValue* a = JsonFind(v, "a");
  ASSERT_EQ(a->items.size(), 3u);
  EXPECT_EQ(a->items[1].type, JsonValue::Array);
  EXPECT_EQ(a->items[2].type, JsonValue::Object);
  EXPECT_EQ(JsonFind(*JsonFind(v, "o"), "k")->string, "v");
}

TEST(JsonParse, AnySyntaxErrorGivesNull) {
  const char* bad[] = {
      "", "   ", "{} x", "[1,]", "{\"a\":1,}", "[1 2]", "{\"a\" 1}", "{a:1}", "[", "{\"a\":",
      "\"open", "tru", "True", "nul", "NULL", "falsey", "NaN", "Infinity", "-Infinity", "0x10",
      "1e", "1-2", "--1", "+", ".", "[1,,2]", "{\"a\":1 \"b\":2}", "\"\\u12\"", "\"\\u12G4\"",
      "\"\\", "[1]]", "\xEF\xBB\xBF{}",  // a byte-order mark is not white space
      "\f1",                            // form feed is not white space
  };
  for (const char* text : bad) {
    JsonValue v = JsonParse(text);
    EXPECT_TRUE(IsNull(v)) << "accepted: " << text;
    EXPECT_TRUE(v.members.empty() && v.items.empty() && v.string.empty()) << text;
  }
}

TEST(JsonParse, NumbersFollowTheCLibrary) {
  EXPECT_DOUBLE_EQ(JsonParse("+1").number, 1.0);
  EXPECT_DOUBLE_EQ(JsonParse("007").number, 7.0);
  EXPECT_DOUBLE_EQ(JsonParse(".5").number, 0.5);
  EXPECT_DOUBLE_EQ(JsonParse("5.").number, 5.0);
  EXPECT_DOUBLE_EQ(JsonParse("1E3").number, 1000.0);
  EXPECT_DOUBLE_EQ(JsonParse("-0.25e-2").number, -0.0025);
  EXPECT_DOUBLE_EQ(JsonParse("123456789012345678901").number, 123456789012345678901.0);
  EXPECT_DOUBLE_EQ(JsonParse("9007199254740993").number, 9007199254740992.0);
  EXPECT_TRUE(std::signbit(JsonParse("-0").number));
  EXPECT_EQ(JsonParse(" 42 ").type, JsonValue::Number);
  EXPECT_EQ(JsonParse("[1,-2]").items[1].number, -2.0);
}

TEST(JsonParse, NestingLimitIsSixtyFourLevels) {
  EXPECT_EQ(JsonParse(Nested(64, "1")).type, JsonValue::Array);
  EXPECT_TRUE(IsNull(JsonParse(Nested(65, "1"))));
  std::string objects;
  for (int i = 0; i < 64; ++i) objects += "{\"k\":";
  EXPECT_EQ(JsonParse(objects + "1" + std::string(64, '}')).type, JsonValue::Object);
  EXPECT_TRUE(IsNull(JsonParse("{\"k\":" + objects + "1" + std::string(65, '}'))));
  // Far deeper input must fail cleanly, not exhaust the stack.
  EXPECT_TRUE(IsNull(JsonParse(std::string(200000, '['))));
}

TEST(JsonParse, StandardEscapes) {
  EXPECT_EQ(ParseString(R"("a\"b\/c\\d")"), "a\"b/c\\d");
  EXPECT_EQ(ParseString(R"("\t \n\r\b\f")"), "\t \n\r\b\f");
  EXPECT_EQ(ParseString(R"("x\t")"), "x\t");  // escape at the end of the string
  EXPECT_EQ(ParseString(R"("\u0041\u00e9\u20AC")"), "A\xC3\xA9\xE2\x82\xAC");
  EXPECT_EQ(ParseString(R"("a\u0000b")"), std::string("a\0b", 3));
  EXPECT_EQ(ParseString("\"\xCF\x80 \x7F\""), "\xCF\x80 \x7F");  // raw UTF-8 and DEL pass through
}

TEST(JsonParse, RawControlBytesInStringsAreRejected) {
  EXPECT_TRUE(IsNull(JsonParse("\"a\tb\"")));
  EXPECT_TRUE(IsNull(JsonParse("\"a\nb\"")));
  EXPECT_TRUE(IsNull(JsonParse(std::string("\"a\0b\"", 5))));
  EXPECT_TRUE(IsNull(JsonParse("{\"k\x01\":1}")));
}

TEST(JsonParse, KeepsLatexCommandsWithSingleBackslashes) {
  EXPECT_EQ(ParseString(R"("\frac{1}{2}")"), "\\frac{1}{2}");
  EXPECT_EQ(ParseString(R"("\beta \right) \theta \times")"), "\\beta \\right) \\theta \\times");
  EXPECT_EQ(ParseString(R"("\sqrt{x} \pi \cdot \alpha \left(")"), "\\sqrt{x} \\pi \\cdot \\alpha \\left(");
  EXPECT_EQ(ParseString(R"("\b1\f{\r.\t}")"), "\b1\f{\r.\t}");  // not followed by a letter
}

TEST(JsonParse, NEscapeKeepsOnlyTheKnownCommands) {
  EXPECT_EQ(ParseString(R"("a\neq b")"), "a\\neq b");
  EXPECT_EQ(ParseString(R"("\nabla f")"), "\\nabla f");
  EXPECT_EQ(ParseString(R"("\neg p")"), "\\neg p");
  EXPECT_EQ(ParseString(R"("\not\in")"), "\\not\\in");
  EXPECT_EQ(ParseString(R"("\nu")"), "\\nu");
  EXPECT_EQ(ParseString(R"("\nu x")"), "\\nu x");
  EXPECT_EQ(ParseString(R"("\number")"), "\number");
  EXPECT_EQ(ParseString(R"("\nequal")"), "\nequal");
  EXPECT_EQ(ParseString(R"("\notes")"), "\notes");
  EXPECT_EQ(ParseString(R"("line\nNext")"), "line\nNext");
  EXPECT_EQ(ParseString(R"("\n")"), "\n");
  EXPECT_EQ(ParseString(R"("\n2")"), "\n2");
}

TEST(JsonParse, NuAtTheVeryEndOfTheTextStaysACommand) {
  // The look-ahead may reach the end of the text; the unterminated string is still an error.
  EXPECT_TRUE(IsNull(JsonParse("\"\\nu")));
  EXPECT_TRUE(IsNull(JsonParse("\"\\ne")));
}

TEST(JsonParse, SurrogatePairs) {
  EXPECT_EQ(ParseString(R"("\ud83d\ude00")"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(ParseString(R"("\uD83D\u0041")"), "\xEF\xBF\xBD");        // the A is lost
  EXPECT_EQ(ParseString(R"("\uD83Dx")"), "\xEF\xBF\xBDx");            // nothing more consumed
  EXPECT_EQ(ParseString(R"("\uD83D\n")"), "\xEF\xBF\xBD\n");
  EXPECT_EQ(ParseString(R"("\uDE00z")"), "\xEF\xBF\xBDz");            // lone low surrogate
  EXPECT_EQ(ParseString(R"("\uDBFF\uDFFF")"), "\xF4\x8F\xBF\xBF");    // highest code point
  EXPECT_TRUE(IsNull(JsonParse(R"("\uD83D\u12")")));
  EXPECT_TRUE(IsNull(JsonParse(R"("\uD83D)")));
}

TEST(JsonFind, FirstMatchingMemberOfObjectsOnly) {
  JsonValue v = JsonParse(R"({"k":1,"K":2,"k":3})");
  ASSERT_NE(JsonFind(v, "k"), nullptr);
  EXPECT_EQ(JsonFind(v, "k")->number, 1.0);
  EXPECT_EQ(JsonFind(v, "K")->number, 2.0);
  EXPECT_EQ(v.members.size(), 3u);
  EXPECT_EQ(JsonFind(v, "missing"), nullptr);
  EXPECT_EQ(JsonFind(JsonParse(R"(["k"])"), "k"), nullptr);
  EXPECT_EQ(JsonFind(JsonParse("not json"), "k"), nullptr);
  EXPECT_EQ(JsonFind(JsonParse(R"("k")"), "k"), nullptr);
}

TEST(JsonQuote, EscapesExactlyTheRequiredBytes) {
  EXPECT_EQ(JsonQuote(std::string("a\"\\\n\x01", 5)), "\"a\\\"\\\\\\n\\u0001\"");
  EXPECT_EQ(JsonQuote("\b\t\f\r"), "\"\\b\\t\\f\\r\"");
  EXPECT_EQ(JsonQuote("\x1b"), "\"\\u001b\"");
  EXPECT_EQ(JsonQuote(std::string(1, '\0')), "\"\\u0000\"");
  EXPECT_EQ(JsonQuote("/\x7F\xC3\xA9"), "\"/\x7F\xC3\xA9\"");
  EXPECT_EQ(JsonQuote(""), "\"\"");
}

TEST(JsonQuote, RoundTripsThroughTheReaderForNonLatexText) {
  std::string all;
  for (int c = 0; c < 256; ++c) all.push_back(static_cast<char>(c));
  EXPECT_EQ(ParseString(JsonQuote(all)), all);
  // A doubled backslash before a letter survives as a single backslash.
  EXPECT_EQ(ParseString(JsonQuote("\\frac\\nu")), "\\frac\\nu");
}
