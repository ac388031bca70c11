#!/usr/bin/env bash
# Installs the Debian packages the project builds, runs and tests with; with
# the argument `framework`, only those that building the framework needs;
# with `docs`, Doxygen as well, for the HTML reference.
# Does nothing when every package is already present.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  liballegro5-dev liballegro-image5-dev liballegro-ttf5-dev liballegro-audio5-dev
  liballegro-acodec5-dev liballegro-dialog5-dev libx11-dev
)
if [ "${1:-}" != framework ]; then
  packages+=(
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth xdotool imagemagick x11-utils openbox python3 python3-pil python3-numpy
  )
fi
if [ "${1:-}" = docs ]; then
  packages+=(doxygen)
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
