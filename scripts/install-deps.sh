#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, run and test Stockavelle.
# Idempotent: does nothing when every package is already present.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev
  libgtest-dev libgmock-dev zlib1g-dev
  # the client makes report pages with libxslt (found with pkg-config)
  libxslt1-dev libxml2-dev
  # tests: a virtual display, report style sheets, printed pages, fonts, and a decimal-comma locale
  xvfb xauth xsltproc poppler-utils fonts-dejavu-core locales-all
  # the manual's pictures (scripts/screenshots.sh): a picture of the virtual screen, and keys for its dialogs
  x11-apps x11-utils netpbm xdotool
  # running: the client opens reports and documentation with the desktop's default program
  xdg-utils
  # the man pages (made from the programs' --help) and the Debian package (scripts/package.sh: its
  # dependencies are read from the binaries)
  help2man dpkg-dev file
  # receipts: free faces with the metrics of the Windows faces that layouts name (Arial, Times New Roman and
  # Courier New; Calibri; Cambria), so texts measure as the layout's author saw them and fit their boxes
  fonts-liberation2 fonts-crosextra-carlito fonts-crosextra-caladea
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo > /dev/null; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Run this script as root (or install sudo) to install them." >&2
    exit 1
  fi
  SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
