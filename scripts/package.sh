#!/usr/bin/env bash
# Builds the Debian package of Stockavelle (both programs, the menu entries, the manual, the man pages and the
# stockavelle-server service) into build/, e.g. build/stockavelle_1.0.1_amd64.deb.
#
#   scripts/package.sh
#   sudo apt-get install ./build/stockavelle_*.deb
#   sudo systemctl enable --now stockavelle-server     # when the shop's server should run at boot
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
cd build
rm -f stockavelle_*.deb
cpack -G DEB
ls -l "$PWD"/stockavelle_*.deb
