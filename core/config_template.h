#pragma once
// The commented vyk.cfg a student starts from: every key the loader understands, each with its
// default and a line saying what it does, the key line itself commented out so that the file as
// written changes nothing.
#include <string>
#include <vector>

struct ConfigKeyHelp {
  const char* key;
  const char* defaultValue;  // as the key line shows it; empty for "not set"
  const char* explanation;   // one line
};

// The keys in the order the template lists them.
const std::vector<ConfigKeyHelp>& ConfigKeyHelpTable();

// The whole template, lines ended by CR LF (it is a Windows file, opened in Notepad).
std::string ConfigTemplateText();
