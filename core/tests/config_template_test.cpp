#include "core/config_template.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

#include "core/config.h"

namespace {

TutorConfig LoadText(const std::string& text) {
  ConfigSources sources;
  sources.programDirectory = "C:\\Tavisk\\";
  sources.readFile = [&](const std::string&) -> std::optional<std::string> { return text; };
  return LoadTutorConfigFrom(sources);
}

auto Fields(const TutorConfig& c) {
  return std::tie(c.backendUrl, c.hosted, c.baseUrl, c.model, c.deepModel, c.apiKey, c.reasoningEffort,
                  c.deepReasoningEffort, c.allMonitors);
}

// The template with the line "#key=..." replaced by "key=value".
std::string Uncommented(const std::string& key, const std::string& value) {
  std::string text = ConfigTemplateText();
  const std::string line = "\r\n#" + key + "=";
  const size_t at = text.find(line);
  EXPECT_NE(at, std::string::npos) << key;
  const size_t end = text.find("\r\n", at + line.size());
  return text.substr(0, at) + "\r\n" + key + "=" + value + text.substr(end);
}

}  // namespace

TEST(ConfigTemplate, AsWrittenEveryLineIsACommentAndNothingChanges) {
  const std::string text = ConfigTemplateText();
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find("\r\n", start);
    ASSERT_NE(end, std::string::npos) << "every line ends in CR LF";
    const std::string line = text.substr(start, end - start);
    EXPECT_TRUE(line.empty() || line[0] == '#') << line;
    EXPECT_EQ(line.find('\n'), std::string::npos);
    start = end + 2;
  }
  EXPECT_EQ(Fields(LoadText(text)), Fields(LoadText("")));
}

TEST(ConfigTemplate, EachKeyIsOneTheLoaderReadsAndItsDefaultIsTheLoadersDefault) {
  const TutorConfig defaults = LoadText("");
  for (const ConfigKeyHelp& help : ConfigKeyHelpTable()) {
    SCOPED_TRACE(help.key);
    const std::string text = ConfigTemplateText();
    EXPECT_EQ(text.find("\r\n#" + std::string(help.key) + "="), text.rfind("\r\n#" + std::string(help.key) + "="))
        << "listed once";
    EXPECT_FALSE(std::string(help.explanation).empty());
    // Another value changes what is loaded: the key is one the loader knows.
    const std::string other = std::string(help.key) == "monitors" ? "all" : "https://other.example/v9";
    EXPECT_NE(Fields(LoadText(Uncommented(help.key, other))), Fields(defaults));
    // The value shown is the default: uncommenting it changes nothing (a backend URL given at all
    // selects hosted mode, which is the default without a key anyway).
    EXPECT_EQ(Fields(LoadText(Uncommented(help.key, help.defaultValue))), Fields(defaults));
  }
}
