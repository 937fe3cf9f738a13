#pragma once
// What the command line asks of vyk.exe. With no argument it starts the tutor as always; the two
// commands print and exit without opening the panel, so they work where the panel could not be
// hidden from capture (Wine) and in the shipped program alike.
#include <string>
#include <vector>

enum class ProgramCommand {
  RunTutor,  // no command: start-up as usual (any other argument is ignored, as before)
  Version,   // --version: print "Tavisk <version>" and exit 0
  Diagnose,  // --diagnose: write the diagnostic report and exit 0
};

// `arguments` without the program's own name. The first known command wins.
ProgramCommand ParseProgramCommand(const std::vector<std::wstring>& arguments);

// The one line --version prints, with its line feed.
std::string VersionLine(const std::string& version);
