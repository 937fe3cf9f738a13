#pragma once
// Text conversion at the boundary between wire/configuration text (UTF-8) and the Windows API
// (UTF-16). The conversion itself is portable (app/utf.h); this header adds the Windows-only pieces.
#include <windows.h>

#include <string>

#include "core/utf.h"

// The value of an environment variable as the ANSI API stores it, without trailing NULs;
// nothing when the variable is unset.
bool ReadEnvironmentVariable(const char* name, std::string& value);
