#include "panel/controllers/config_files_win.h"

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "core/config.h"
#include "core/environment_win.h"
#include "core/utf.h"
#include "core/unique_handle_win.h"

namespace {

std::string WorkingDirectory() {
  std::vector<wchar_t> buffer(GetCurrentDirectoryW(0, nullptr) + 1);
  const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
  if (length == 0 || length >= buffer.size()) return {};
  std::wstring path(buffer.data(), length);
  if (path.back() != L'\\') path += L'\\';
  return WideToUtf8(path);
}

bool IsFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Utf8ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Never replaces a file: CREATE_NEW fails when one is there. A write cut short leaves no half file.
bool CreateWithText(const std::string& path, const std::string& text) {
  const std::wstring wide = Utf8ToWide(path);
  HANDLE handle = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  bool written = false;
  {
    UniqueKernelHandle file(handle);
    DWORD done = 0;
    written = WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &done, nullptr) &&
              done == text.size();
  }
  if (!written) DeleteFileW(wide.c_str());
  return written;
}

bool RunCommandLine(std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  UniqueKernelHandle thread(process.hThread);
  UniqueKernelHandle owned(process.hProcess);
  return true;
}

// The file's own "open" verb (the student's editor for .cfg, when one is associated), else Notepad.
void OpenInEditor(const std::string& path, bool developmentEditor) {
  const std::wstring wide = Utf8ToWide(path);
  const std::wstring quoted = L"\"" + wide + L"\"";
  std::string editor;
  if (developmentEditor && ReadEnvironmentVariable("VYK_DEV_EDITOR", editor) && !editor.empty()) {
    RunCommandLine(Utf8ToWide(editor) + L" " + quoted);
    return;
  }
  const auto opened = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (opened > 32) return;
  RunCommandLine(L"notepad.exe " + quoted);
}

// Size and write time of each place the program reads; "-" where there is no file.
std::string Stamp(const std::vector<std::string>& paths) {
  std::string stamp;
  for (const std::string& path : paths) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Utf8ToWide(path).c_str(), GetFileExInfoStandard, &data)) {
      stamp += "-;";
      continue;
    }
    stamp += std::to_string(data.nFileSizeLow) + ":" + std::to_string(data.ftLastWriteTime.dwHighDateTime) + ":" +
             std::to_string(data.ftLastWriteTime.dwLowDateTime) + ";";
  }
  return stamp;
}

}  // namespace

ConfigFilePort SystemConfigFiles(std::function<bool()> developmentEditor) {
  ConfigFilePort port;
  port.programDirectory = ProgramDirectory();
  port.workingDirectory = WorkingDirectory();
  port.exists = IsFile;
  port.create = CreateWithText;
  port.openInEditor = [developmentEditor = std::move(developmentEditor)](const std::string& path) {
    OpenInEditor(path, developmentEditor && developmentEditor());
  };
  const std::vector<std::string> paths = ConfigFileCandidates(port.programDirectory, port.workingDirectory);
  port.stamp = [paths] { return Stamp(paths); };
  return port;
}
