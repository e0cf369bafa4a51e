#!/usr/bin/env bash
# Installs what Kalmora needs, builds it and starts it on a data directory.
# Usage: scripts/run.sh [data-directory]   (default: ~/Kalmora-dane)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
data="${1:-${KALMORA_DATA:-$HOME/Kalmora-dane}}"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
build="${KALMORA_BUILD_DIR:-$root/build}"
if [ ! -f "$data/Firma.db" ]; then
  "$build/bin/kalmora-nowe-dane" "$data"
fi
cd "$data"
exec "$build/bin/kalmora"
