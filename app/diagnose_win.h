#pragma once
// vyk.exe --diagnose: every check of the diagnostic report, written to standard output and to
// vyk-diagnose.txt next to the program (in the temporary folder when the program's folder cannot
// be written). Nothing secret is printed or sent: the service check is a bare request to the
// service's root, without key, token or question.
#include <windows.h>

// Runs the checks and writes the report; returns 0 (a failed check is a line of the report).
int RunDiagnose(HINSTANCE instance);
