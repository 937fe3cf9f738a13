#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/config.h"
#include "core/environment_win.h"
#include "core/utf.h"

namespace {

void WriteFile(const std::wstring& path, const std::string& bytes) {
  FILE* f = _wfopen(path.c_str(), L"wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

// The variables the loader reads are cleared for the test (this process only).
void ClearConfigVariables() {
  for (const char* name : {"VYK_BACKEND_URL", "VYK_API_KEY", "OPENAI_API_KEY"}) SetEnvironmentVariableA(name, nullptr);
}

// Runs the test inside a fresh temporary working directory, and restores the old one.
class ScopedWorkingDirectory {
 public:
  ScopedWorkingDirectory() {
    wchar_t old[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, old);
    old_ = old;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    dir_ = std::wstring(temp) + L"vyk config \u00e9" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(dir_.c_str(), nullptr);
    SetCurrentDirectoryW(dir_.c_str());
  }
  ~ScopedWorkingDirectory() {
    SetCurrentDirectoryW(old_.c_str());
    DeleteFileW((dir_ + L"\\vyk.cfg").c_str());
    RemoveDirectoryW(dir_.c_str());
  }

 private:
  std::wstring old_;
  std::wstring dir_;
};

// A vyk.cfg beside the test program, removed again when the test ends.
class ScopedProgramConfig {
 public:
  explicit ScopedProgramConfig(const std::string& text)
      : path_(Utf8ToWide(ProgramDirectory()) + L"vyk.cfg") {
    WriteFile(path_, text);
  }
  ~ScopedProgramConfig() { DeleteFileW(path_.c_str()); }

 private:
  std::wstring path_;
};

bool ProgramConfigExists() {
  return GetFileAttributesW((Utf8ToWide(ProgramDirectory()) + L"vyk.cfg").c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

TEST(ConfigWin, ReadsWorkingDirectoryFileAndEnvironment) {
  ASSERT_FALSE(ProgramConfigExists()) << "a stray vyk.cfg beside the test program";
  ClearConfigVariables();
  ScopedWorkingDirectory cwd;
  TutorConfig c = LoadTutorConfig();
  EXPECT_TRUE(c.hosted);
  EXPECT_EQ(c.model, "gpt-4o-mini");

  WriteFile(L"vyk.cfg", "API_KEY = file-key\r\nmodel=m1\r\nmonitors=true\r\n");
  c = LoadTutorConfig();
  EXPECT_FALSE(c.hosted);
  EXPECT_EQ(c.apiKey, "file-key");
  EXPECT_EQ(c.model, "m1");
  EXPECT_TRUE(c.allMonitors);

  SetEnvironmentVariableA("VYK_API_KEY", " vyk-key ");  // taken as stored, blanks included
  EXPECT_EQ(LoadTutorConfig().apiKey, " vyk-key ");
  SetEnvironmentVariableA("VYK_BACKEND_URL", "http://127.0.0.1:1/");
  c = LoadTutorConfig();
  EXPECT_TRUE(c.hosted);
  EXPECT_EQ(c.backendUrl, "http://127.0.0.1:1/");
}

TEST(ConfigWin, FileBesideProgramWinsOverWorkingDirectory) {
  ASSERT_FALSE(ProgramConfigExists()) << "a stray vyk.cfg beside the test program";
  ClearConfigVariables();
  ScopedWorkingDirectory cwd;
  WriteFile(L"vyk.cfg", "api_key=from-cwd\n");
  ScopedProgramConfig beside("# sets nothing\n");
  TutorConfig c = LoadTutorConfig();
  EXPECT_TRUE(c.hosted);
  EXPECT_EQ(c.apiKey, "");
}

namespace {

constexpr char kReportEnv[] = "VYK_REPORT_PROGRAM_DIRECTORY_TO";

std::wstring ThisExecutable() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path;
}

std::string ReadWholeFile(const std::wstring& path) {
  std::string bytes;
  FILE* f = _wfopen(path.c_str(), L"rb");
  if (!f) return bytes;
  char chunk[4096];
  size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, got);
  std::fclose(f);
  return bytes;
}

// Copies this test program into a new folder `dir`, runs the copy's reporting case below, removes
// the folder again, and returns what ProgramDirectory() gave in the copy.
std::string ProgramDirectoryOfCopyIn(const std::wstring& dir) {
  CreateDirectoryW(dir.c_str(), nullptr);
  const std::wstring copy = dir + L"\\win_tests.exe";
  if (!CopyFileW(ThisExecutable().c_str(), copy.c_str(), FALSE)) return "copy failed";
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring report = std::wstring(temp) + L"vyk-progdir-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
  DeleteFileW(report.c_str());
  SetEnvironmentVariableA(kReportEnv, WideToUtf8(report).c_str());
  std::wstring command = L"win_tests.exe --gtest_filter=ConfigWin.ReportsProgramDirectoryWhenAsked";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  const BOOL started = CreateProcessW(copy.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                      &startup, &process);
  SetEnvironmentVariableA(kReportEnv, nullptr);
  if (!started) return "start failed";
  WaitForSingleObject(process.hProcess, 120000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  DeleteFileW(copy.c_str());
  RemoveDirectoryW(dir.c_str());
  const std::string reported = ReadWholeFile(report);
  DeleteFileW(report.c_str());
  return reported;
}

}  // namespace

// Runs only inside a copy started by the tests below; on its own it has nothing to check.
TEST(ConfigWin, ReportsProgramDirectoryWhenAsked) {
  std::string target;
  if (!ReadEnvironmentVariable(kReportEnv, target) || target.empty()) GTEST_SKIP() << "helper of the copy tests";
  FILE* f = _wfopen(Utf8ToWide(target).c_str(), L"wb");
  ASSERT_NE(f, nullptr);
  const std::string dir = ProgramDirectory();
  std::fwrite(dir.data(), 1, dir.size(), f);
  std::fclose(f);
}

TEST(ConfigWin, ProgramDirectoryOfANonAsciiFolderIsUtf8) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring dir = std::wstring(temp) + L"vyk \u00e9\u03c0\u6587\U0001F600 " + std::to_wstring(GetCurrentProcessId());
  EXPECT_EQ(ProgramDirectoryOfCopyIn(dir), WideToUtf8(dir) + "\\");
}
