#pragma once
// The crash dumps kept for a user to send us: their file names, which carry the moment of the
// crash, and which of them to delete so that only the newest few stay.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

inline constexpr size_t kCrashDumpsKept = 5;

// A moment in UTC, to the second.
struct CrashTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;
};

// "vyk-20261209-014512-1234.dmp": the UTC time of the crash and the process id. Names sort in the
// order of the crashes.
std::wstring CrashDumpFileName(const CrashTime& time, uint32_t processId);

// Whether `name` has the form CrashDumpFileName gives.
bool IsCrashDumpFileName(std::wstring_view name);

// The crash dumps among the file names `names` to delete so that the newest `keep` remain, oldest
// first. Files of any other name are never chosen.
std::vector<std::wstring> CrashDumpsToPrune(std::span<const std::wstring> names, size_t keep = kCrashDumpsKept);
