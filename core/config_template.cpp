#include "core/config_template.h"

#include "core/config.h"

const std::vector<ConfigKeyHelp>& ConfigKeyHelpTable() {
  static const std::vector<ConfigKeyHelp> table = {
      {"api_key", "", "Your API key for the chat-completions service; with a key (and no backend_url) Tavisk asks that service directly."},
      {"base_url", kDefaultChatBaseUrl, "Chat-completions service address; questions go to base_url/chat/completions (a local server: http://127.0.0.1:8080/v1)."},
      {"model", kDefaultModel, "Model for fast questions, and for deep ones when deep_model is empty."},
      {"deep_model", "", "Model for deep questions (for example o4-mini)."},
      {"reasoning_effort", "", "Reasoning effort sent with fast questions (low, medium or high), for models that take one."},
      {"deep_reasoning_effort", "", "Reasoning effort for deep questions."},
      {"monitors", "primary", "all: screen scans read every monitor instead of only the main one."},
      {"backend_url", kDefaultBackendUrl, "Address of a hosted Tavisk tutor service (e-mail sign-in); setting it selects hosted mode even when api_key is set. The built-in address is a placeholder that reaches no service."},
  };
  return table;
}

std::string ConfigTemplateText() {
  std::string text =
      "# vyk.cfg: where Tavisk sends your questions. Keep this file next to vyk.exe.\r\n"
      "# Lines starting with # are comments. To set a key, remove the # in front of it and write\r\n"
      "# the value after the = sign, for example:  api_key=sk-...\r\n"
      "# The environment variables VYK_API_KEY (or OPENAI_API_KEY) and VYK_BACKEND_URL override\r\n"
      "# api_key and backend_url. Your key stays on this computer and is only sent to base_url.\r\n";
  for (const ConfigKeyHelp& help : ConfigKeyHelpTable()) {
    text += "\r\n# ";
    text += help.explanation;
    text += "\r\n#";
    text += help.key;
    text += "=";
    text += help.defaultValue;
    text += "\r\n";
  }
  return text;
}
