#!/usr/bin/env bash
# Installs the Debian 12 packages Quillop needs to build, test and run.
# Safe to run again: it only asks apt for what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git ccache python3
  qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins libqt6svg6
  libgl-dev libglx-dev libxkbcommon-dev
  libvorbis-dev libogg-dev libstb-dev zlib1g-dev
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
  libsdl2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool
  sox pngcheck ffmpeg python3-mido midicsv vorbis-tools tiled
  clang-14 libclang-rt-14-dev llvm-14
  desktop-file-utils shared-mime-info libglib2.0-bin lintian man-db file python3-markdown
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
