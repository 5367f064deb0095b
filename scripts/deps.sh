#!/usr/bin/env bash
# Installs what building, running and testing Sonmira needs, from Debian's
# packages, and only what is missing.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev qt6-serialport-dev qt6-qpa-plugins libqt6svg6 libxcb1-dev libfontconfig-dev
  libgtest-dev libgmock-dev googletest
  clang libclang-rt-dev
  fontconfig fonts-liberation fonts-wqy-microhei fonts-droid-fallback
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
