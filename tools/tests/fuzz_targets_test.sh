#!/usr/bin/env bash
# The fuzz build makes fuzz targets only: no test program is linked against its instrumented
# libraries (such a link fails without the fuzzer runtime). Configures a throw-away fuzz tree and
# lists its targets.
set -euo pipefail
source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
tree="$(mktemp -d)"
trap 'rm -rf "$tree"' EXIT
cmake -S "$source_dir" -B "$tree" -G Ninja -DVYK_FUZZ=ON >/dev/null
targets="$(ninja -C "$tree" -t targets all | cut -d: -f1)"
grep -qx 'json_fuzz' <<<"$targets" || { echo "no fuzz target in the fuzz build"; exit 1; }
if grep -Eqx '(portable_tests|win_tests)' <<<"$targets"; then
  echo "the fuzz build also links a test program:"; grep -Ex '(portable_tests|win_tests)' <<<"$targets"; exit 1
fi
echo "fuzz build: fuzz targets only"
