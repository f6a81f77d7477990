#!/usr/bin/env bash
# Sets everything up, builds, and starts StockavelleServer on a ready database set (made on first use).
#
#   scripts/run.sh                       # window when a display is there, else headless
#   scripts/run.sh --headless            # log to standard output, Ctrl+C ends it
#   scripts/run.sh --server-name "till"  # any other server option is passed on
#
# The set lives in $STOCKAVELLE_SET, by default "$HOME/Stockavelle/Database Set".
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh

set_folder="${STOCKAVELLE_SET:-$HOME/Stockavelle/Database Set}"
mkdir -p "$set_folder"

args=(--database-set "$set_folder")
given=" $* "
# Without a display there is no window to show: run headless rather than fail.
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [[ "$given" != *" --headless "* ]]; then
  args+=(--headless)
fi
# Start at once under the default name unless one was given (the name dialog would ask otherwise).
if [[ "$given" != *" --server-name"* ]]; then
  args+=(--server-name "stockavelle server 1.0")
fi

echo "Database set: $set_folder"
exec build/bin/StockavelleServer "${args[@]}" "$@"
