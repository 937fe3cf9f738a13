#pragma once
// The process environment as the configuration reads it (the conversion between its text and the
// Windows API's is core/utf.h).
#include <string>

// The value of an environment variable as the ANSI API stores it, without trailing NULs;
// nothing when the variable is unset.
bool ReadEnvironmentVariable(const char* name, std::string& value);
