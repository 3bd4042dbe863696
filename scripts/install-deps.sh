#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Idempotent and quiet when everything is already present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-serialport-dev qt6-svg-dev qt6-base-dev-tools qt6-qpa-plugins
  libjpeg-dev libmspack-dev gcab
  libgtest-dev
  fonts-liberation2 poppler-utils
  qt6-translations-l10n adwaita-icon-theme
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

# sudo drops the environment, so the non-interactive front end goes on its command line.
apt=(env DEBIAN_FRONTEND=noninteractive apt-get)
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "These packages are missing: ${missing[*]}" >&2
    echo "Installing them needs root: run this script as root, or install sudo." >&2
    exit 1
  fi
  apt=(sudo "${apt[@]}")
fi
echo "Installing: ${missing[*]}"
"${apt[@]}" update -qq
"${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
