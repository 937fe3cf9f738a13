#include "core/environment_win.h"

#include <windows.h>

#include <vector>

bool ReadEnvironmentVariable(const char* name, std::string& value) {
  value.clear();
  DWORD needed = GetEnvironmentVariableA(name, nullptr, 0);
  if (needed == 0) return GetLastError() != ERROR_ENVVAR_NOT_FOUND;
  // The variable may grow between the two calls; retry with the larger size it reports.
  for (int attempt = 0; attempt < 4; ++attempt) {
    std::vector<char> buffer(needed);
    const DWORD written = GetEnvironmentVariableA(name, buffer.data(), needed);
    if (written < needed) {
      value.assign(buffer.data(), written);
      while (!value.empty() && value.back() == '\0') value.pop_back();
      return true;
    }
    needed = written;
  }
  return false;
}
