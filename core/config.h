#pragma once
// The service configuration: read once at start-up from "vyk.cfg" and the environment.
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The hosted tutor service has no public deployment yet. Its default base URL uses the reserved
// ".invalid" top-level domain, which never resolves, so no student data can reach a stranger's
// server by default; point "backend_url" / VYK_BACKEND_URL at a real (or the local stand-in) service.
inline constexpr const char* kDefaultBackendUrl = "https://tutor.tavisk.invalid";
inline constexpr const char* kDefaultChatBaseUrl = "https://api.openai.com/v1";
inline constexpr const char* kDefaultModel = "gpt-4o-mini";

struct TutorConfig {
  std::string backendUrl;
  bool hosted = true;
  std::string baseUrl;
  std::string model;
  std::string deepModel;
  std::string apiKey;
  std::string reasoningEffort;
  std::string deepReasoningEffort;
  bool allMonitors = false;
};

// Where the loader looks. `readFile` returns the file's bytes, or nothing when it cannot be opened;
// `getEnv` returns a variable's value, or nothing when it is unset.
struct ConfigSources {
  std::string programDirectory;  // with its trailing backslash
  std::function<std::optional<std::string>(const std::string& path)> readFile;
  std::function<std::optional<std::string>(const std::string& name)> getEnv;
};

// Portable: the whole loading algorithm over the given sources.
TutorConfig LoadTutorConfigFrom(const ConfigSources& sources);

// A tutor service is configured: an API key (file or environment), or a backend URL other than the
// built-in placeholder. Without either, nothing the student does can reach a service.
bool TutorServiceConfigured(const TutorConfig& config);

// Where "vyk.cfg" is looked for, in order: beside the program, then in the working directory
// (each directory with its trailing separator; an empty one names the file relative to the
// working directory).
std::vector<std::string> ConfigFileCandidates(const std::string& programDirectory,
                                              const std::string& workingDirectory);

// Windows: loads from the program's directory, the working directory and the process environment.
TutorConfig LoadTutorConfig();
// Windows: the directory of the running program with its trailing backslash, in UTF-8.
std::string ProgramDirectory();
