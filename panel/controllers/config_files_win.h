#pragma once
// The configuration file on Windows: where the program reads it, creating it, opening it in an
// editor and a stamp of its write times for the first run's watch.
#include "panel/controllers/config_controller.h"

// `developmentEditor` says whether the editor may be replaced for tests: a development build reads
// VYK_DEV_EDITOR when it opens the file (a command that gets the file's path as its last argument).
ConfigFilePort SystemConfigFiles(std::function<bool()> developmentEditor);
