#pragma once
// The program's JSON reader and string quoter. Bodies are built by concatenation with JsonQuote.
#include <string>
#include <utility>
#include <vector>

struct JsonValue {
  enum Type : int { Null = 0, Boolean = 1, Number = 2, String = 3, Array = 4, Object = 5 };

  // Declared here, defined where JsonValue is complete: a member vector of pairs holding
  // JsonValue itself must not be instantiated while the type is still incomplete.
  JsonValue();
  ~JsonValue();
  JsonValue(const JsonValue&);
  JsonValue(JsonValue&&) noexcept;
  JsonValue& operator=(const JsonValue&);
  JsonValue& operator=(JsonValue&&) noexcept;

  Type type = Null;
  bool boolean = false;
  double number = 0;
  std::string string;
  std::vector<JsonValue> items;
  std::vector<std::pair<std::string, JsonValue>> members;
};

// Null for anything that is not exactly one JSON value with optional surrounding white space.
JsonValue JsonParse(const std::string& text);
// The first member named `key` of an object, or null.
const JsonValue* JsonFind(const JsonValue& object, const std::string& key);
// The JSON string literal for `s`, quotes included.
std::string JsonQuote(const std::string& s);
