#pragma once
// The diagnostic report (vyk.exe --diagnose): one line per check, each saying OK, or FAILED with
// what failed and its code. What this machine answers is found by the Windows probes
// (diagnose_*_win.cpp); naming codes and writing the lines is portable and lives here.
#include <cstdint>
#include <string>
#include <vector>

#include "core/config.h"

struct DiagnosticLine {
  std::string check;   // what was checked, e.g. "Capture exclusion"
  bool ok = false;
  std::string detail;  // what was found, or what failed
  std::string code;    // a failure's code as FormatHresult etc. write it; may be empty
};

DiagnosticLine Passed(std::string check, std::string detail = {});
DiagnosticLine Failed(std::string check, std::string detail, std::string code = {});

// Codes as the report writes them: "0x80040154", "error 8", "WinHTTP 12175 (secure failure)".
std::string FormatHresult(std::int32_t result);
std::string FormatWin32Error(std::uint32_t error);
std::string FormatWinHttpError(std::uint32_t error);
// The certificate problems of a WinHTTP secure failure (its status flags), e.g. "certificate
// from an untrusted authority, certificate name mismatch"; empty when no flag is known.
std::string DescribeSecureFailure(std::uint32_t flags);

// "Check: OK, detail" or "Check: FAILED, detail (code)".
std::string FormatDiagnosticLine(const DiagnosticLine& line);
// The title line naming the version, then every line; each ends in a line feed.
std::string FormatDiagnosticReport(const std::string& version, const std::vector<DiagnosticLine>& lines);

// The host name of a URL: no scheme, user name, password, port or path. Empty when it has none.
std::string UrlHost(const std::string& url);

// The service a configuration sends questions to: the URL probed and the host the report names.
struct ServiceEndpoint {
  std::string url;   // scheme and host (and port) only, never a path, key or token
  std::string host;
  bool placeholder = false;  // the built-in hosted address, which never resolves
};
ServiceEndpoint EndpointOf(const TutorConfig& config);

// "Mode": local or hosted, and whether a key is set. Never the key itself.
DiagnosticLine ModeLine(const TutorConfig& config);

// What a bare request to the endpoint's root brought back.
struct EndpointAnswer {
  bool answered = false;       // an HTTP response of any status arrived
  int status = 0;
  std::uint32_t error = 0;     // the WinHTTP error when nothing arrived
  std::uint32_t secureFlags = 0;  // with ERROR_WINHTTP_SECURE_FAILURE: what was wrong
  bool timedOut = false;       // no answer in the time the report waits
  unsigned waitedSeconds = 0;
  unsigned elapsedMs = 0;
};
DiagnosticLine EndpointLine(const ServiceEndpoint& endpoint, const EndpointAnswer& answer);
