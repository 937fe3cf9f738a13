#pragma once
// Crash dumps: an unhandled exception or std::terminate (an exception through a noexcept boundary,
// or one nobody caught) writes a minidump to %LOCALAPPDATA%\Tavisk\crashes and one diagnostic line
// naming it, keeps the newest five dumps there, and then lets the crash end the program as it would
// have without this.

// Installs the handlers for the whole process; call once, early. `development` lets a development
// build crash on purpose when VYK_DEV_CRASH asks for it ("access": an access violation; "noexcept":
// an exception through a noexcept function), right after installing, so tests can check the dump.
void InstallCrashDumps(bool development) noexcept;
