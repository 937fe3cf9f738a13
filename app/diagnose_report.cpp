#include "app/diagnose_report.h"

#include <cstdio>
#include <utility>

namespace {

// The WinHTTP errors of a failed TLS handshake or a refused certificate.
constexpr std::uint32_t kTlsErrors[] = {12037, 12038, 12045, 12057, 12157, 12169, 12170, 12175, 12179};

bool IsTlsError(std::uint32_t error) {
  for (std::uint32_t code : kTlsErrors) {
    if (code == error) return true;
  }
  return false;
}

struct NamedCode {
  std::uint32_t code;
  const char* name;
};

// The WinHTTP errors a request to a service can end in (winhttp.h).
constexpr NamedCode kWinHttpErrors[] = {
    {12002, "timed out"},
    {12004, "internal error"},
    {12005, "invalid URL"},
    {12006, "unrecognised scheme"},
    {12007, "host name not resolved"},
    {12017, "operation cancelled"},
    {12029, "cannot connect"},
    {12030, "connection broken"},
    {12037, "certificate date invalid"},
    {12038, "certificate name mismatch"},
    {12044, "client certificate needed"},
    {12045, "certificate from an untrusted authority"},
    {12057, "revocation check failed"},
    {12152, "invalid server response"},
    {12156, "redirect failed"},
    {12157, "TLS channel error"},
    {12166, "bad proxy script"},
    {12167, "proxy script not downloaded"},
    {12169, "invalid certificate"},
    {12170, "certificate revoked"},
    {12175, "TLS or certificate failure"},
    {12178, "proxy auto-configuration failed"},
    {12179, "certificate for another use"},
    {12180, "proxy auto-detection failed"},
};

// WINHTTP_CALLBACK_STATUS_FLAG_* of a secure failure.
constexpr NamedCode kSecureFailureFlags[] = {
    {0x00000001, "revocation check failed"},
    {0x00000002, "invalid certificate"},
    {0x00000004, "certificate revoked"},
    {0x00000008, "certificate from an untrusted authority"},
    {0x00000010, "certificate name mismatch"},
    {0x00000020, "certificate date invalid"},
    {0x00000040, "certificate for another use"},
    {0x80000000, "TLS channel error"},
};

std::string Printed(const char* format, unsigned long value) {
  char text[48];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

DiagnosticLine Passed(std::string check, std::string detail) {
  return {std::move(check), true, std::move(detail), {}};
}

DiagnosticLine Failed(std::string check, std::string detail, std::string code) {
  return {std::move(check), false, std::move(detail), std::move(code)};
}

std::string FormatHresult(std::int32_t result) {
  return Printed("0x%08lX", static_cast<unsigned long>(static_cast<std::uint32_t>(result)));
}

std::string FormatWin32Error(std::uint32_t error) { return Printed("error %lu", error); }

std::string FormatWinHttpError(std::uint32_t error) {
  std::string text = Printed("WinHTTP %lu", error);
  for (const NamedCode& known : kWinHttpErrors) {
    if (known.code == error) return text + " (" + known.name + ")";
  }
  return text;
}

std::string DescribeSecureFailure(std::uint32_t flags) {
  std::string text;
  for (const NamedCode& known : kSecureFailureFlags) {
    if ((flags & known.code) == 0) continue;
    if (!text.empty()) text += ", ";
    text += known.name;
  }
  return text;
}

std::string FormatDiagnosticLine(const DiagnosticLine& line) {
  std::string text = line.check + (line.ok ? ": OK" : ": FAILED");
  if (!line.detail.empty()) text += ", " + line.detail;
  if (!line.code.empty()) text += " (" + line.code + ")";
  return text;
}

std::string FormatDiagnosticReport(const std::string& version, const std::vector<DiagnosticLine>& lines) {
  std::string text = "Tavisk " + version + " diagnostic report\n";
  for (const DiagnosticLine& line : lines) text += FormatDiagnosticLine(line) + "\n";
  return text;
}

std::string UrlHost(const std::string& url) {
  std::string rest = url;
  const size_t scheme = rest.find("://");
  if (scheme != std::string::npos) rest = rest.substr(scheme + 3);
  rest = rest.substr(0, rest.find_first_of("/?#"));
  const size_t at = rest.rfind('@');
  if (at != std::string::npos) rest = rest.substr(at + 1);
  if (!rest.empty() && rest.front() == '[') {  // an IPv6 address keeps its brackets
    const size_t close = rest.find(']');
    return close == std::string::npos ? std::string() : rest.substr(0, close + 1);
  }
  return rest.substr(0, rest.find(':'));
}

ServiceEndpoint EndpointOf(const TutorConfig& config) {
  const std::string& url = config.hosted ? config.backendUrl : config.baseUrl;
  ServiceEndpoint endpoint;
  endpoint.host = UrlHost(url);
  const size_t scheme = url.find("://");
  const std::string schemeText = scheme == std::string::npos ? std::string() : url.substr(0, scheme);
  std::string authority = scheme == std::string::npos ? std::string() : url.substr(scheme + 3);
  authority = authority.substr(0, authority.find_first_of("/?#"));
  const size_t at = authority.rfind('@');
  if (at != std::string::npos) authority = authority.substr(at + 1);
  if (!schemeText.empty() && !authority.empty()) endpoint.url = schemeText + "://" + authority + "/";
  endpoint.placeholder = config.hosted && config.backendUrl == kDefaultBackendUrl;
  return endpoint;
}

DiagnosticLine ModeLine(const TutorConfig& config) {
  if (!config.hosted) {
    return Passed("Mode", "local API key (a key is set; model " + config.model + ")");
  }
  if (config.backendUrl == kDefaultBackendUrl) {
    return Failed("Mode", "hosted, but no tutor service is configured: set api_key (or backend_url) in vyk.cfg");
  }
  return Passed("Mode", std::string("hosted tutor service") + (config.apiKey.empty() ? "" : " (backend_url wins over the API key)"));
}

DiagnosticLine EndpointLine(const ServiceEndpoint& endpoint, const EndpointAnswer& answer) {
  const std::string name = "Service " + (endpoint.host.empty() ? std::string("(no host)") : endpoint.host);
  if (endpoint.placeholder) {
    return Failed(name, "the built-in placeholder address, never contacted");
  }
  if (endpoint.url.empty()) return Failed(name, "the configured address is not a URL");
  if (answer.answered) {
    return Passed(name, "answered in " + std::to_string(answer.elapsedMs) + " ms (HTTP " +
                            std::to_string(answer.status) + ")");
  }
  if (answer.timedOut) {
    return Failed(name, "no answer within " + std::to_string(answer.waitedSeconds) + " s");
  }
  if (IsTlsError(answer.error)) {
    const std::string problems = DescribeSecureFailure(answer.secureFlags);
    return Failed(name, "TLS or certificate failure" + (problems.empty() ? std::string() : ": " + problems),
                  FormatWinHttpError(answer.error));
  }
  return Failed(name, "did not answer", FormatWinHttpError(answer.error));
}
