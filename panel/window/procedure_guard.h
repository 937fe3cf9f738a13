#pragma once
// Window procedures let no exception out. Their catch-all blocks call this to log what they caught
// as one line: "[vyk] window procedure: <what>" (the exception's what() when it has one).
void LogCaughtInWindowProcedure() noexcept;
