#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the run need, when
# they are missing. Safe to run again.
set -euo pipefail
packages=(
  cmake ninja-build g++ python3
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 mingw-w64-tools
  libz-mingw-w64-dev zlib1g-dev unzip
  wine wine64 fonts-wine xvfb x11-apps
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  imagemagick libpng-dev libjpeg-dev ffmpeg ghostscript
  clang libclang-rt-14-dev
  python3-aiosmtpd
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
