#!/usr/bin/env bash
# Installs what Kalmora needs, builds it and runs every test. Then it builds
# it a second time with AddressSanitizer and UndefinedBehaviorSanitizer (into
# build-asan/, or $KALMORA_ASAN_BUILD_DIR) and runs every test again under
# them; any sanitizer report fails the run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
build="${KALMORA_BUILD_DIR:-$root/build}"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" --timeout 300

# ---- the sanitizer run
asan="${KALMORA_ASAN_BUILD_DIR:-$root/build-asan}"
reports="$asan/sanitizer-reports"
rm -rf "$reports"
mkdir -p "$reports"
# Every report ends its process. Address and leak reports are written to
# files under $reports (one per process, so that a report in a program a test
# starts is not lost); undefined-behaviour reports go to the test's output.
# The workbook reader's child process, which runs the parsing library on
# files that may be damaged, sends its reports nowhere: its end is reported
# as a damaged workbook (see src/platform/workbook/Workbook.cpp).
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1:log_path=$reports/asan"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan-suppressions.txt:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
# The build runs the test programs to list their tests, so it runs under the
# same options.
KALMORA_SANITIZE=ON KALMORA_BUILD_DIR="$asan" "$root/scripts/build.sh"
status=0
ctest --test-dir "$asan" --output-on-failure --parallel "$(nproc)" --timeout 300 || status=1

found=()
for f in "$reports"/asan.*; do
  [ -e "$f" ] && found+=("$f")
done
if [ "${#found[@]}" -gt 0 ]; then
  echo "Sanitizer reports:" >&2
  for f in "${found[@]}"; do
    echo "==== $f" >&2
    cat "$f" >&2
  done
  status=1
fi
# The output of every test, passed or not.
output="$asan/Testing/Temporary/LastTest.log"
if grep -q 'runtime error:' "$output"; then
  echo "Undefined behaviour reported:" >&2
  grep -B2 -A12 'runtime error:' "$output" >&2
  status=1
fi
if [ "$status" -ne 0 ]; then
  echo "The sanitizer run failed." >&2
  exit 1
fi
echo "The sanitizer run found nothing."
