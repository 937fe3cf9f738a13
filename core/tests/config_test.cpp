#include "core/config.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// A fake file system and environment; remembers which files were asked for.
struct FakeSources {
  std::map<std::string, std::string> files;
  std::map<std::string, std::string> env;
  std::vector<std::string> opened;

  TutorConfig Load() {
    ConfigSources sources;
    sources.programDirectory = "C:\\Apps\\Tavisk\\";
    sources.readFile = [this](const std::string& path) -> std::optional<std::string> {
      opened.push_back(path);
      auto it = files.find(path);
      if (it == files.end()) return std::nullopt;
      return it->second;
    };
    sources.getEnv = [this](const std::string& name) -> std::optional<std::string> {
      auto it = env.find(name);
      if (it == env.end()) return std::nullopt;
      return it->second;
    };
    return LoadTutorConfigFrom(sources);
  }
};

const char kBesideProgram[] = "C:\\Apps\\Tavisk\\vyk.cfg";
const char kWorkingDir[] = "vyk.cfg";

TutorConfig LoadFile(const std::string& text) {
  FakeSources fake;
  fake.files[kBesideProgram] = text;
  return fake.Load();
}

}  // namespace

TEST(Config, NothingConfiguredGivesHostedDefaults) {
  FakeSources fake;
  TutorConfig c = fake.Load();
  EXPECT_TRUE(c.hosted);
  EXPECT_EQ(c.backendUrl, kDefaultBackendUrl);
  EXPECT_EQ(c.baseUrl, "https://api.openai.com/v1");
  EXPECT_EQ(c.model, "gpt-4o-mini");
  EXPECT_EQ(c.deepModel, "");
  EXPECT_EQ(c.apiKey, "");
  EXPECT_EQ(c.reasoningEffort, "");
  EXPECT_EQ(c.deepReasoningEffort, "");
  EXPECT_FALSE(c.allMonitors);
  EXPECT_EQ(fake.opened, (std::vector<std::string>{kBesideProgram, kWorkingDir}));
  // Missing sources altogether must not crash either.
  EXPECT_TRUE(LoadTutorConfigFrom(ConfigSources{}).hosted);
}

TEST(Config, ApiKeyAloneSelectsLocalMode) {
  for (const char* line : {"api_key=sk-1", "  api_key   =   sk-1  ", "API_KEY\t=\tsk-1\r", "Api_Key=sk-1\n"}) {
    TutorConfig c = LoadFile(line);
    EXPECT_FALSE(c.hosted) << line;
    EXPECT_EQ(c.apiKey, "sk-1") << line;
  }
  EXPECT_EQ(LoadFile("api_key=SK-MiXeD").apiKey, "SK-MiXeD");
}

TEST(Config, ReadsEveryKeyWithCrlfCommentsAndJunk) {
  TutorConfig c = LoadFile(
      "# a comment\r\n"
      "   # an indented comment: api_key=nope\r\n"
      "\r\n"
      "no equals sign here\r\n"
      "=value without key\r\n"
      "base_url = http://127.0.0.1:8080/v1 \r\n"
      "model = org/model=v2 # not a comment\r\n"
      "deep_model=\"quoted\"\r\n"
      "reasoning_effort = HIGH\r\n"
      "deep_reasoning_effort=Medium\r\n"
      "monitors=all\r\n"
      "unknown_key=x\r\n"
      "api_key=k");
  EXPECT_FALSE(c.hosted);
  EXPECT_EQ(c.baseUrl, "http://127.0.0.1:8080/v1");
  EXPECT_EQ(c.model, "org/model=v2 # not a comment");
  EXPECT_EQ(c.deepModel, "\"quoted\"");
  EXPECT_EQ(c.reasoningEffort, "high");
  EXPECT_EQ(c.deepReasoningEffort, "medium");
  EXPECT_TRUE(c.allMonitors);
  EXPECT_EQ(c.apiKey, "k");
}

TEST(Config, MonitorsAcceptsOnlyExactTrueSpellings) {
  for (const char* v : {"all", "1", "true"}) EXPECT_TRUE(LoadFile(std::string("monitors=") + v).allMonitors) << v;
  for (const char* v : {"All", "yes", "TRUE", "0", "", "all monitors"}) {
    EXPECT_FALSE(LoadFile(std::string("monitors=") + v).allMonitors) << v;
  }
  EXPECT_FALSE(LoadFile("monitors=all\nmonitors=no").allMonitors);  // the last one wins
}

TEST(Config, EmptyBackendLineUndoesAnEarlierOne) {
  TutorConfig c = LoadFile("api_key=k\nbackend_url=https://svc.example\nbackend_url=\n");
  EXPECT_FALSE(c.hosted);
  EXPECT_EQ(c.backendUrl, kDefaultBackendUrl);
  c = LoadFile("api_key=k\nbackend_url = https://svc.example\n");
  EXPECT_TRUE(c.hosted);
  EXPECT_EQ(c.backendUrl, "https://svc.example");
}

TEST(Config, FileBesideProgramWinsEvenWhenItSetsNothing) {
  FakeSources fake;
  fake.files[kBesideProgram] = "# nothing here\n";
  fake.files[kWorkingDir] = "api_key=from-cwd\n";
  TutorConfig c = fake.Load();
  EXPECT_TRUE(c.hosted);
  EXPECT_EQ(c.apiKey, "");
  EXPECT_EQ(fake.opened, std::vector<std::string>{kBesideProgram});

  FakeSources cwdOnly;
  cwdOnly.files[kWorkingDir] = "api_key=from-cwd\n";
  EXPECT_EQ(cwdOnly.Load().apiKey, "from-cwd");
}

TEST(Config, EnvironmentOverridesTheFile) {
  FakeSources fake;
  fake.files[kBesideProgram] = "api_key=file-key\n";
  fake.env["OPENAI_API_KEY"] = "openai-key";
  EXPECT_EQ(fake.Load().apiKey, "openai-key");
  fake.env["VYK_API_KEY"] = "vyk-key";
  EXPECT_EQ(fake.Load().apiKey, "vyk-key");
  fake.env["VYK_API_KEY"] = "";  // empty counts as unset
  EXPECT_EQ(fake.Load().apiKey, "openai-key");
  fake.env["VYK_API_KEY"] = std::string(" padded \0\0", 10);  // as stored, trailing NULs dropped
  EXPECT_EQ(fake.Load().apiKey, " padded ");
  EXPECT_FALSE(fake.Load().hosted);

  fake.env["VYK_BACKEND_URL"] = "http://127.0.0.1:9/";
  TutorConfig c = fake.Load();
  EXPECT_TRUE(c.hosted);
  EXPECT_EQ(c.backendUrl, "http://127.0.0.1:9/");
  fake.env["VYK_BACKEND_URL"] = "";
  EXPECT_FALSE(fake.Load().hosted);
}

TEST(Config, OddBytesNeverBreakLoading) {
  std::string text("model=a\0b\nbase_url=\xff\xfe\n\n\n=\n==\n#", 30);
  TutorConfig c = LoadFile(text);
  EXPECT_EQ(c.model, std::string("a\0b", 3));
  EXPECT_EQ(c.baseUrl, "\xff\xfe");
  EXPECT_EQ(LoadFile(std::string(100000, '\n')).model, "gpt-4o-mini");
}

// Whether anything at all points at a tutor service: the first run shows when nothing does.
TEST(Config, ServiceConfiguredOnlyByAKeyOrARealBackend) {
  struct Case {
    const char* name;
    std::string file;
    std::map<std::string, std::string> env;
    bool configured;
  };
  const std::vector<Case> cases = {
      {"nothing", "", {}, false},
      {"the shipped template", "#api_key=\r\n#backend_url=https://tutor.tavisk.invalid\r\n", {}, false},
      {"empty key line", "api_key=\n", {}, false},
      {"model and base_url only", "model=m\nbase_url=http://127.0.0.1:8080/v1\n", {}, false},
      {"backend_url is the placeholder", "backend_url=https://tutor.tavisk.invalid/\n", {}, false},
      {"empty key variables", "", {{"VYK_API_KEY", ""}, {"OPENAI_API_KEY", ""}, {"VYK_BACKEND_URL", ""}}, false},
      {"key in the file", "api_key=sk-1\n", {}, true},
      {"key in VYK_API_KEY", "", {{"VYK_API_KEY", "sk-2"}}, true},
      {"key in OPENAI_API_KEY", "", {{"OPENAI_API_KEY", "sk-3"}}, true},
      {"a real backend in the file", "backend_url=https://tutor.example.org\n", {}, true},
      {"a backend in the environment", "", {{"VYK_BACKEND_URL", "http://127.0.0.1:9/"}}, true},
  };
  for (const Case& c : cases) {
    FakeSources fake;
    if (!c.file.empty()) fake.files[kBesideProgram] = c.file;
    fake.env = c.env;
    EXPECT_EQ(TutorServiceConfigured(fake.Load()), c.configured) << c.name;
  }
}
