#include "core/config.h"

#include <string_view>

namespace {

bool IsTrimmedBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsTrimmedBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsTrimmedBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string AsciiLower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

struct LoadState {
  TutorConfig config;
  bool backendConfigured = false;
};

void ApplySetting(const std::string& key, std::string_view value, LoadState& state) {
  TutorConfig& c = state.config;
  if (key == "backend_url") {
    c.backendUrl = value;
    state.backendConfigured = !value.empty();
  } else if (key == "base_url") {
    c.baseUrl = value;
  } else if (key == "model") {
    c.model = value;
  } else if (key == "deep_model") {
    c.deepModel = value;
  } else if (key == "api_key") {
    c.apiKey = value;
  } else if (key == "reasoning_effort") {
    c.reasoningEffort = AsciiLower(value);
  } else if (key == "deep_reasoning_effort") {
    c.deepReasoningEffort = AsciiLower(value);
  } else if (key == "monitors") {
    c.allMonitors = value == "all" || value == "1" || value == "true";
  }
}

void ApplyLine(std::string_view line, LoadState& state) {
  line = Trim(line);
  if (line.empty() || line.front() == '#') return;
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos) return;
  ApplySetting(AsciiLower(Trim(line.substr(0, equals))), Trim(line.substr(equals + 1)), state);
}

void ApplyFile(std::string_view text, LoadState& state) {
  while (!text.empty()) {
    const size_t end = text.find('\n');
    ApplyLine(text.substr(0, end), state);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

// The first candidate file that opens is the only one read.
std::optional<std::string> ReadFirstConfigFile(const ConfigSources& sources) {
  if (!sources.readFile) return std::nullopt;
  for (const std::string& path : ConfigFileCandidates(sources.programDirectory, std::string())) {
    if (auto text = sources.readFile(path)) return text;
  }
  return std::nullopt;
}

// A variable's value as stored, without trailing NULs; empty when unset.
std::string EnvValue(const ConfigSources& sources, const char* name) {
  if (!sources.getEnv) return {};
  std::string value = sources.getEnv(name).value_or(std::string());
  while (!value.empty() && value.back() == '\0') value.pop_back();
  return value;
}

void ApplyEnvironment(const ConfigSources& sources, LoadState& state) {
  std::string backend = EnvValue(sources, "VYK_BACKEND_URL");
  if (!backend.empty()) {
    state.config.backendUrl = std::move(backend);
    state.backendConfigured = true;
  }
  std::string key = EnvValue(sources, "VYK_API_KEY");
  if (key.empty()) key = EnvValue(sources, "OPENAI_API_KEY");
  if (!key.empty()) state.config.apiKey = std::move(key);
}

void FillDefault(std::string& field, const char* fallback) {
  if (field.empty()) field = fallback;
}

}  // namespace

TutorConfig LoadTutorConfigFrom(const ConfigSources& sources) {
  LoadState state;
  if (auto text = ReadFirstConfigFile(sources)) ApplyFile(*text, state);
  ApplyEnvironment(sources, state);
  TutorConfig& c = state.config;
  c.hosted = state.backendConfigured || c.apiKey.empty();
  FillDefault(c.backendUrl, kDefaultBackendUrl);
  FillDefault(c.baseUrl, kDefaultChatBaseUrl);
  FillDefault(c.model, kDefaultModel);
  return c;
}

bool TutorServiceConfigured(const TutorConfig& config) {
  std::string_view backend = config.backendUrl;
  while (!backend.empty() && backend.back() == '/') backend.remove_suffix(1);
  return !config.apiKey.empty() || (!backend.empty() && backend != kDefaultBackendUrl);
}

std::vector<std::string> ConfigFileCandidates(const std::string& programDirectory,
                                              const std::string& workingDirectory) {
  return {programDirectory + "vyk.cfg", workingDirectory + "vyk.cfg"};
}
