#include "panel/window/procedure_guard.h"

#include <exception>

#include "core/log.h"

void LogCaughtInWindowProcedure() noexcept {
  try {
    std::exception_ptr caught = std::current_exception();
    if (!caught) return;
    std::rethrow_exception(caught);
  } catch (const std::exception& error) {
    VykLog("[vyk] window procedure: %s\n", error.what());
  } catch (...) {
    VykLog("[vyk] window procedure: unknown exception\n");
  }
}
