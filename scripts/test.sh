#!/usr/bin/env bash
# Sets everything up, builds, and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen

# Every test keeps its sockets in a folder of its own; the shared socket folder belongs to the user's own
# servers (scripts/run.sh), and a suite that wrote there would fail while one runs, or disturb it.
shared_pipes=$(sed -n 's/.*kDefaultPipeFolder = "\([^"]*\)".*/\1/p' platform/local_pipe.h)
shared_listing() { if [ -d "$shared_pipes" ]; then echo "(the folder itself)"; ls -A "$shared_pipes"; fi; }
before=$(shared_listing | sort)

status=0
(cd build && ctest --output-on-failure --no-tests=error --timeout 300 -j2) || status=$?

created=$(comm -13 <(echo "$before") <(shared_listing | sort))
if [ -n "$created" ]; then
  echo "The test suite created these in the shared socket folder $shared_pipes:" >&2
  echo "$created" >&2
  status=1
fi
exit $status
