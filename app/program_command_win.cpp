#include "app/program_command_win.h"

#include <shellapi.h>

#include <cstdio>

#include "app/diagnose_win.h"
#include "app/startup_win.h"
#include "app/version.h"
#include "core/unique_handle_win.h"

namespace {

void FreeArguments(LPWSTR* arguments) noexcept { LocalFree(arguments); }
using UniqueArguments = UniqueHandle<LPWSTR*, &FreeArguments>;

// A GUI program keeps a standard output that was redirected to a file or a pipe; only without one
// is the parent's console attached (which would otherwise take the place of the redirection).
void OpenCommandOutput() {
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  const DWORD type = output && output != INVALID_HANDLE_VALUE ? GetFileType(output) : FILE_TYPE_UNKNOWN;
  if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE) return;
  AttachParentConsole();
}

}  // namespace

std::vector<std::wstring> CommandLineArguments() {
  int count = 0;
  const UniqueArguments arguments(CommandLineToArgvW(GetCommandLineW(), &count));
  std::vector<std::wstring> result;
  for (int i = 1; arguments && i < count; ++i) result.emplace_back(arguments.get()[i]);
  return result;
}

int RunProgramCommand(ProgramCommand command, HINSTANCE instance) {
  OpenCommandOutput();
  if (command == ProgramCommand::Diagnose) return RunDiagnose(instance);
  const std::string line = VersionLine(kVykVersion);
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
  return 0;
}
