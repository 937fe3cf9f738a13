#pragma once
// The probes of the diagnostic report, one file each, calling the program's own adapters.
#include <windows.h>

#include <string>
#include <vector>

#include "app/diagnose_report.h"

// Windows version and build, DPI awareness, and each monitor's DPI, size and rotation
// (diagnose_system_win.cpp).
std::vector<DiagnosticLine> ProbeSystem();
// On a hidden test window of the probe's own: capture exclusion, the composition backdrop and the
// two input hooks (diagnose_window_win.cpp). The thread must be in the runtime's apartment.
std::vector<DiagnosticLine> ProbeTestWindow(HINSTANCE instance);
// For each display output: whether desktop duplication starts, and on which adapter
// (diagnose_duplication_win.cpp).
std::vector<DiagnosticLine> ProbeDesktopDuplication();
// The OCR engine for the user's languages and the recognizer languages installed
// (diagnose_ocr_win.cpp).
DiagnosticLine ProbeOcr();
// A bare HEAD request to the root of `url`, given up after `waitSeconds` (diagnose_network_win.cpp).
EndpointAnswer ProbeEndpoint(const std::string& url, unsigned waitSeconds);
// Writes, reads back and removes a test entry of the credential store (diagnose_credentials_win.cpp).
DiagnosticLine ProbeCredentialStore();
