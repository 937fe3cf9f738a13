#include "panel/controllers/config_controller.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/config.h"
#include "core/config_template.h"
#include "panel/controllers/query_controller.h"
#include "panel/controllers/tests/fake_timers.h"
#include "panel/panel_rules.h"
#include "tutor/query_job.h"

namespace {

constexpr char kProgram[] = "C:\\Tavisk\\";
constexpr char kWorking[] = "D:\\Work\\";

// A file system of a few paths, some of whose folders refuse writes, and an editor that only
// remembers what it was asked to open.
struct FakeFiles {
  std::map<std::string, std::string> files;
  std::set<std::string> readOnlyFolders;
  std::vector<std::string> opened;

  ConfigFilePort Port() {
    ConfigFilePort port;
    port.programDirectory = kProgram;
    port.workingDirectory = kWorking;
    port.exists = [this](const std::string& path) { return files.count(path) != 0; };
    port.create = [this](const std::string& path, const std::string& text) {
      const std::string folder = path.substr(0, path.rfind('\\') + 1);
      if (files.count(path) || readOnlyFolders.count(folder)) return false;
      files[path] = text;
      return true;
    };
    port.openInEditor = [this](const std::string& path) { opened.push_back(path); };
    port.stamp = [this] {
      std::string stamp;
      for (const auto& [path, text] : files) stamp += path + '\n' + text + '\n';
      return stamp;
    };
    return port;
  }
};

// The program's way of binding operations: each reload reads the fake file and the solve callable
// keeps its own copy of what it read.
TutorServices Bind(FakeFiles& fs) {
  ConfigSources sources;
  sources.programDirectory = kProgram;
  sources.readFile = [&fs](const std::string& path) -> std::optional<std::string> {
    auto it = fs.files.find(path);
    if (it == fs.files.end()) return std::nullopt;
    return it->second;
  };
  const TutorConfig config = LoadTutorConfigFrom(sources);
  TutorServices services;
  services.solve = [config](QueryKind, QueryQuality, const std::wstring&) {
    TutorReply reply;
    reply.text = std::wstring(config.apiKey.begin(), config.apiKey.end());  // which configuration answered
    return reply;
  };
  services.hosted = config.hosted;
  services.configured = TutorServiceConfigured(config);
  services.reload = [&fs] { return Bind(fs); };
  return services;
}

TEST(ConfigController, OpenConfigFileWritesTheTemplateWhereTheProgramReadsIt) {
  const std::string beside = std::string(kProgram) + "vyk.cfg";
  const std::string working = std::string(kWorking) + "vyk.cfg";
  struct Case {
    const char* name;
    std::map<std::string, std::string> files;
    std::set<std::string> readOnly;
    std::string opened;   // empty: nothing opened
    bool written;         // the template was written to `opened`
    bool noteIsError;
    std::wstring noteStart;
  };
  const std::vector<Case> cases = {
      {"a file beside the program is opened as it is", {{beside, "api_key=x"}, {working, "y"}}, {}, beside, false,
       false, L""},
      {"else the working folder's file", {{working, "y"}}, {}, working, false, false, L""},
      {"none: the template goes beside the program", {}, {}, beside, true, false, L"Wrote C:\\Tavisk\\vyk.cfg"},
      {"a read-only program folder: the working folder", {}, {kProgram}, working, true, false,
       L"Can't write in C:\\Tavisk\\, so it went to the working folder: D:\\Work\\vyk.cfg"},
      {"nowhere to write: says where it may go", {}, {kProgram, kWorking}, "", false, true,
       L"Can't write in C:\\Tavisk\\. Save vyk.cfg there or in the working folder: D:\\Work\\"},
  };
  for (const Case& c : cases) {
    FakeFiles fs;
    fs.files = c.files;
    fs.readOnlyFolders = c.readOnly;
    FakeTimers timers;
    ConfigController controller(timers, fs.Port(), {});
    controller.OpenConfigFile();
    EXPECT_EQ(fs.opened, c.opened.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.opened})
        << c.name;
    if (c.written) {
      EXPECT_EQ(fs.files[c.opened], ConfigTemplateText()) << c.name;
      EXPECT_FALSE(Bind(fs).configured) << c.name << ": the template as written configures nothing";
    }
    EXPECT_EQ(controller.noteIsError(), c.noteIsError) << c.name;
    EXPECT_EQ(controller.note(), c.noteStart) << c.name;
  }
}

// Held workers: a query's worker runs only when the test says so.
struct HeldThreads {
  std::vector<std::function<void()>> work;
  ThreadStarter Starter() {
    return [this](std::function<void()> w) { work.push_back(std::move(w)); };
  }
};

TEST(ConfigController, ChangedFileSwitchesModeWhileARunningQueryKeepsItsConfiguration) {
  FakeFiles fs;
  FakeTimers timers;
  TutorServices current = Bind(fs);
  ASSERT_FALSE(current.configured);
  ASSERT_TRUE(current.hosted);

  int shown = 0;
  ConfigView view;
  view.showFirstRun = [&] { ++shown; };
  view.servicesChanged = [&](TutorServices services) { current = std::move(services); };
  ConfigController controller(timers, fs.Port(), view);

  // A session that starts configured changes nothing and watches nothing.
  FakeTimers otherTimers;
  TutorServices configured;
  ConfigController untouched(otherTimers, fs.Port(), view);
  EXPECT_FALSE(untouched.Start(configured));
  EXPECT_TRUE(otherTimers.running.empty());
  EXPECT_EQ(shown, 0);

  ASSERT_TRUE(controller.Start(current));
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(timers.running, (std::map<unsigned, unsigned>{{panel_timer::ConfigWatch, 1000}}));

  // Nothing changed: polling reads nothing again.
  controller.PollFile();
  EXPECT_FALSE(current.configured);

  // The student opens the file, which writes the template; the watch does not read that back, and
  // the note keeps saying where the file went. Reading it configures nothing.
  controller.OpenConfigFile();
  controller.PollFile();
  EXPECT_EQ(controller.note(), L"Wrote C:\\Tavisk\\vyk.cfg");
  controller.Reload();
  EXPECT_FALSE(current.configured);
  EXPECT_EQ(controller.note(), L"No API key in vyk.cfg yet.");

  // A query starts with the first key, as the panel starts them: with the operations of the moment.
  const std::string path = std::string(kProgram) + "vyk.cfg";
  fs.files[path] += "api_key=first\r\nbase_url=http://127.0.0.1:9/v1\r\n";
  controller.PollFile();
  EXPECT_TRUE(current.configured);
  EXPECT_FALSE(current.hosted);  // local API-key mode, without a restart
  EXPECT_EQ(controller.note(), L"");

  HeldThreads threads;
  std::shared_ptr<Job> running =
      StartQueryWorker(current.solve, QueryKind::Ask, QueryQuality::Fast, L"2+2?", threads.Starter());

  // The key changes while the query runs; "Reload" reads it too and nothing is read twice.
  fs.files[path] = "api_key=second\r\n";
  controller.Reload();
  controller.PollFile();
  std::shared_ptr<Job> next =
      StartQueryWorker(current.solve, QueryKind::Ask, QueryQuality::Fast, L"3+3?", threads.Starter());

  ASSERT_EQ(threads.work.size(), 2u);
  for (auto& work : threads.work) work();
  EXPECT_EQ(TryCollect(*running)->text, L"first");
  EXPECT_EQ(TryCollect(*next)->text, L"second");

  // Emptied again: back to the first run's hosted placeholder, still watched.
  fs.files.clear();
  controller.PollFile();
  EXPECT_FALSE(current.configured);
  EXPECT_TRUE(timers.Runs(panel_timer::ConfigWatch));
  controller.Stop();
  EXPECT_FALSE(timers.Runs(panel_timer::ConfigWatch));
}

}  // namespace
