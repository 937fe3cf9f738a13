#pragma once
// The diagnostic log: formatted lines on standard output, each beginning with "[vyk] ".
// Callers pass the whole line format, prefix and line feed included.
#include <functional>
#include <string>

#if defined(__MINGW32__)
#define VYK_PRINTF_FORMAT(f, a) __attribute__((format(gnu_printf, f, a)))
#elif defined(__GNUC__)
#define VYK_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#else
#define VYK_PRINTF_FORMAT(f, a)
#endif

// Formats and writes one line with a single write, so lines from several threads never interleave.
void VykLog(const char* format, ...) VYK_PRINTF_FORMAT(1, 2);

// Redirects every line to `sink` instead of standard output (tests); an empty sink restores stdout.
using LogSink = std::function<void(const std::string& line)>;
void SetLogSink(LogSink sink);

// Logs the exception being handled, as "[vyk] <where>: <its message>\n" ("an exception of unknown
// type" when it carries none). Call it only inside a catch block; it never throws.
void LogCaughtException(const char* where) noexcept;
