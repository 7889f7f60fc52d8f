#!/usr/bin/env bash
# Installs everything KORVEL needs to build, test and run on Debian 12.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  cmake g++ pkg-config ninja-build
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libqt6openglwidgets6 qt6-charts-dev qt6-svg-dev
  libgl1-mesa-dev libgl1-mesa-dri libglu1-mesa-dev
  libxlsxwriter-dev
  xvfb xauth imagemagick
  poppler-utils fonts-dejavu-core
  clang libclang-rt-14-dev
  dpkg-dev file desktop-file-utils libxml2-utils shared-mime-info groff-base parallel
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
