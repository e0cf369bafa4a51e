#!/usr/bin/env bash
# Configures and builds Kalmora into build/ (or $KALMORA_BUILD_DIR); with
# KALMORA_SANITIZE=ON the build is instrumented with AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KALMORA_BUILD_DIR:-$root/build}"
launcher=()
if command -v ccache >/dev/null 2>&1; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache); fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKALMORA_SANITIZE="${KALMORA_SANITIZE:-OFF}" "${launcher[@]}" >/dev/null
if ! cmake --build "$build" --parallel "$(nproc)"; then
  # Qt's generated meta-object code can go stale when windows are added to a
  # folder after an earlier build; regenerate it once and try again.
  echo "Build failed; regenerating Qt meta-object code and building again." >&2
  find "$build" -name '*_autogen' -type d -prune -exec rm -rf {} +
  cmake --build "$build" --parallel "$(nproc)"
fi
