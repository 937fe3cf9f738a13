// Crash dump names carry the time of the crash, and pruning keeps the newest five of them while
// never touching a file of another name.
#include "core/crash_dumps.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(CrashDumps, NamesCarryTheTimeAndTheProcess) {
  EXPECT_EQ(CrashDumpFileName({2026, 12, 9, 1, 45, 7}, 1234), L"vyk-20261209-014507-1234.dmp");
  EXPECT_EQ(CrashDumpFileName({2027, 1, 1, 0, 0, 0}, 4294967295u), L"vyk-20270101-000000-4294967295.dmp");
  const struct {
    const wchar_t* name;
    bool ours;
  } cases[] = {
      {L"vyk-20261209-014507-1234.dmp", true}, {L"vyk-20261209-014507-1.dmp", true},
      {L"vyk-20261209-014507-.dmp", false},    {L"vyk-2026129-014507-1234.dmp", false},
      {L"vyk-20261209-014507-12a4.dmp", false}, {L"vyk-20261209_014507-1234.dmp", false},
      {L"vyk-20261209-014507-1234.dmp.txt", false}, {L"other-20261209-014507-1234.dmp", false},
      {L"vyk-20261209-014507-12345678901.dmp", false}, {L"vyk-.dmp", false}, {L"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsCrashDumpFileName(c.name), c.ours) << c.name;
}

TEST(CrashDumps, PruningKeepsTheNewestFive) {
  const std::vector<std::wstring> folder = {
      L"vyk-20261209-014507-7.dmp", L"notes.txt", L"vyk-20250101-000000-99.dmp", L"vyk-20261209-014507-12.dmp",
      L"vyk-20260301-120000-5.dmp", L"vyk-20261130-235959-3.dmp", L"vyk-20240101-000000-1.dmp.part",
      L"vyk-20261201-000000-8.dmp", L"vyk-20261208-000000-2.dmp"};
  EXPECT_EQ(CrashDumpsToPrune(folder),
            (std::vector<std::wstring>{L"vyk-20250101-000000-99.dmp", L"vyk-20260301-120000-5.dmp"}));
  EXPECT_EQ(CrashDumpsToPrune(folder, 7), std::vector<std::wstring>{});
  EXPECT_EQ(CrashDumpsToPrune(std::vector<std::wstring>(folder.begin(), folder.begin() + 4)),
            std::vector<std::wstring>{});
}

}  // namespace
