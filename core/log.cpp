#include "core/log.h"

#include <cstdarg>
#include <cstdio>
#include <exception>
#include <mutex>
#include <vector>

namespace {
// Workers are detached and may write a line while the process exits, after static objects are
// destroyed; the lock and the sink are therefore made once and never destroyed.
std::mutex& SinkMutex() {
  static std::mutex& m = *new std::mutex;
  return m;
}
LogSink& Sink() {
  static LogSink& sink = *new LogSink;
  return sink;
}
}  // namespace

void SetLogSink(LogSink sink) {
  std::lock_guard<std::mutex> lock(SinkMutex());
  Sink() = std::move(sink);
}

void VykLog(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length < 0) {
    va_end(args);
    return;
  }
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  std::vsnprintf(buffer.data(), buffer.size(), format, args);
  va_end(args);
  std::string line(buffer.data(), static_cast<size_t>(length));

  std::lock_guard<std::mutex> lock(SinkMutex());
  if (Sink()) {
    Sink()(line);
    return;
  }
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

void LogCaughtException(const char* where) noexcept {
  const char* what = "an exception of unknown type";
  std::exception_ptr caught = std::current_exception();
  try {
    if (caught) std::rethrow_exception(caught);
  } catch (const std::exception& error) {
    what = error.what();
  } catch (...) {
    // Not a standard exception: it carries no message, and the line says so.
  }
  try {
    VykLog("[vyk] %s: %s\n", where, what);
  } catch (const std::exception&) {
    std::fprintf(stdout, "[vyk] %s: %s\n", where, what);  // no memory or lock for the usual way
  }
}
