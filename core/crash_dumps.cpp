#include "core/crash_dumps.h"

#include <algorithm>
#include <cwchar>

namespace {

// Whether `text` is `count` decimal digits (at least one when count is 0: any number of them).
bool Digits(std::wstring_view text, size_t count) {
  if (text.empty() || (count != 0 && text.size() != count)) return false;
  return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

constexpr std::wstring_view kPrefix = L"vyk-";
constexpr std::wstring_view kSuffix = L".dmp";
constexpr size_t kMaxProcessIdDigits = 10;

}  // namespace

std::wstring CrashDumpFileName(const CrashTime& time, uint32_t processId) {
  wchar_t name[64];
  std::swprintf(name, 64, L"vyk-%04d%02d%02d-%02d%02d%02d-%lu.dmp", time.year, time.month, time.day, time.hour,
                time.minute, time.second, static_cast<unsigned long>(processId));
  return name;
}

bool IsCrashDumpFileName(std::wstring_view name) {
  if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) return false;
  name.remove_prefix(kPrefix.size());
  name.remove_suffix(kSuffix.size());
  // 8 date digits, a dash, 6 time digits, a dash, the process id
  if (name.size() < 17 || name[8] != L'-' || name[15] != L'-') return false;
  const std::wstring_view processId = name.substr(16);
  return Digits(name.substr(0, 8), 8) && Digits(name.substr(9, 6), 6) && Digits(processId, 0) &&
         processId.size() <= kMaxProcessIdDigits;
}

std::vector<std::wstring> CrashDumpsToPrune(std::span<const std::wstring> names, size_t keep) {
  std::vector<std::wstring> dumps;
  for (const std::wstring& name : names) {
    if (IsCrashDumpFileName(name)) dumps.push_back(name);
  }
  if (dumps.size() <= keep) return {};
  std::sort(dumps.begin(), dumps.end());  // the time comes first, in fixed width: oldest first
  dumps.resize(dumps.size() - keep);
  return dumps;
}
