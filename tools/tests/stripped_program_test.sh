#!/usr/bin/env bash
# A shipped program carries no debug sections of its own: they live in NAME.debug beside it, which
# the program names in its .gnu_debuglink section. Usage: stripped_program_test.sh OBJDUMP EXE...
set -euo pipefail
objdump="$1"
shift
for exe in "$@"; do
  sections="$("$objdump" -h "$exe")"
  if grep -q ' \.debug_' <<<"$sections"; then
    echo "$exe still carries debug sections:"; grep ' \.debug_' <<<"$sections"; exit 1
  fi
  grep -q ' \.gnu_debuglink' <<<"$sections" || { echo "$exe does not name its debug file"; exit 1; }
  debug="${exe%.exe}.debug"
  "$objdump" -h "$debug" | grep -q ' \.debug_info' || { echo "$debug holds no debug information"; exit 1; }
  echo "$exe: stripped, $(stat -c %s "$exe") bytes; debug information in $(basename "$debug")"
done
