#include "app/diagnose_win.h"

#include <cstdio>
#include <string>
#include <vector>

#include "app/diagnose_probes_win.h"
#include "app/version.h"
#include "core/config.h"
#include "core/environment_win.h"
#include "core/utf.h"
#include "core/unique_handle_win.h"

namespace {

constexpr unsigned kServiceWaitSeconds = 8;
constexpr wchar_t kReportName[] = L"vyk-diagnose.txt";

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring FullPath(const std::wstring& path) {
  wchar_t full[MAX_PATH] = {};
  const DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
  return length > 0 && length < MAX_PATH ? std::wstring(full, length) : path;
}

// Which vyk.cfg the tutor reads (the same search as the loader), and which variables override it:
// names only, never values.
DiagnosticLine ConfigurationLine() {
  std::string detail;
  for (const std::string& candidate : ConfigFileCandidates(ProgramDirectory(), std::string())) {
    const std::wstring path = Utf8ToWide(candidate);
    if (FileExists(path)) {
      detail = WideToUtf8(FullPath(path));
      break;
    }
  }
  if (detail.empty()) detail = "no vyk.cfg next to the program or in the working folder";
  for (const char* name : {"VYK_API_KEY", "OPENAI_API_KEY", "VYK_BACKEND_URL"}) {
    std::string value;
    if (ReadEnvironmentVariable(name, value) && !value.empty()) detail += std::string(", ") + name + " set";
  }
  return Passed("Configuration", detail);
}

std::vector<DiagnosticLine> ServiceLines() {
  const TutorConfig config = LoadTutorConfig();
  const ServiceEndpoint endpoint = EndpointOf(config);
  EndpointAnswer answer;
  if (!endpoint.placeholder && !endpoint.url.empty()) answer = ProbeEndpoint(endpoint.url, kServiceWaitSeconds);
  return {ConfigurationLine(), ModeLine(config), EndpointLine(endpoint, answer)};
}

std::vector<DiagnosticLine> RunChecks(HINSTANCE instance) {
  std::vector<DiagnosticLine> lines = ProbeSystem();
  auto add = [&lines](std::vector<DiagnosticLine> more) {
    for (DiagnosticLine& line : more) lines.push_back(std::move(line));
  };
  {
    const ScopedApartment runtime(ScopedApartment::Kind::RuntimeSingleThreaded);
    add(ProbeTestWindow(instance));
    add(ProbeDesktopDuplication());
    lines.push_back(ProbeOcr());
  }
  add(ServiceLines());
  lines.push_back(ProbeCredentialStore());
  return lines;
}

// Writes `text` with CR LF line ends; false when the file cannot be written.
bool WriteTextFile(const std::wstring& path, const std::string& text) {
  FILE* file = _wfopen(path.c_str(), L"wb");
  if (!file) return false;
  std::string windowsText;
  for (char c : text) {
    if (c == '\n') windowsText += '\r';
    windowsText += c;
  }
  const bool written = std::fwrite(windowsText.data(), 1, windowsText.size(), file) == windowsText.size();
  return std::fclose(file) == 0 && written;
}

std::wstring TemporaryFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  return length > 0 && length <= MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

// The report with its own last line saying where it was written: next to the program, or in the
// temporary folder when the program's folder is read-only (Program Files).
std::string WriteReport(std::vector<DiagnosticLine> lines) {
  DWORD error = ERROR_SUCCESS;
  for (const std::wstring& folder : {Utf8ToWide(ProgramDirectory()), TemporaryFolder()}) {
    if (folder.empty()) continue;
    const std::wstring path = folder + kReportName;
    lines.push_back(Passed("Report file", WideToUtf8(path)));
    const std::string text = FormatDiagnosticReport(kVykVersion, lines);
    if (WriteTextFile(path, text)) return text;
    error = GetLastError();
    lines.pop_back();
  }
  lines.push_back(Failed("Report file", "could not be written next to the program or in the temporary folder",
                         FormatWin32Error(error)));
  return FormatDiagnosticReport(kVykVersion, lines);
}

}  // namespace

int RunDiagnose(HINSTANCE instance) {
  const std::string text = WriteReport(RunChecks(instance));
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
  return 0;
}
