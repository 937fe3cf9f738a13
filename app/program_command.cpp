#include "app/program_command.h"

ProgramCommand ParseProgramCommand(const std::vector<std::wstring>& arguments) {
  for (const std::wstring& argument : arguments) {
    if (argument == L"--version" || argument == L"-v" || argument == L"/version") return ProgramCommand::Version;
    if (argument == L"--diagnose" || argument == L"/diagnose") return ProgramCommand::Diagnose;
  }
  return ProgramCommand::RunTutor;
}

std::string VersionLine(const std::string& version) { return "Tavisk " + version + "\n"; }
