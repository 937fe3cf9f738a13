#include <windows.h>

#include <cstdio>
#include <vector>

#include "core/config.h"
#include "core/environment_win.h"
#include "core/utf.h"

namespace {

// Reads a whole file as bytes; the path is UTF-8 and may hold any character.
std::optional<std::string> ReadFileBytes(const std::string& path) {
  FILE* file = _wfopen(Utf8ToWide(path).c_str(), L"rb");
  if (!file) return std::nullopt;
  std::string bytes;
  char chunk[4096];
  size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
  std::fclose(file);
  return bytes;
}

std::optional<std::string> EnvironmentValue(const std::string& name) {
  std::string value;
  if (!ReadEnvironmentVariable(name.c_str(), value)) return std::nullopt;
  return value;
}

}  // namespace

std::string ProgramDirectory() {
  // MAX_PATH is enough for almost every install; a longer path is read in full rather than cut,
  // since a cut path would name the wrong directory.
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::string();
    if (length < buffer.size() || buffer.size() >= 32768) {
      std::wstring path(buffer.data(), length);
      const size_t slash = path.rfind(L'\\');
      if (slash != std::wstring::npos) path.resize(slash + 1);
      return WideToUtf8(path);
    }
    buffer.resize(buffer.size() * 2);
  }
}

TutorConfig LoadTutorConfig() {
  ConfigSources sources;
  sources.programDirectory = ProgramDirectory();
  sources.readFile = ReadFileBytes;
  sources.getEnv = EnvironmentValue;
  return LoadTutorConfigFrom(sources);
}
