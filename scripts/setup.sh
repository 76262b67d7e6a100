#!/usr/bin/env bash
# Installs the Debian packages the build, the tools and the tests need.
# As root it installs what is missing; otherwise it prints the command.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libsndfile1-dev
  g++-mingw-w64-x86-64-posix wine wine64
  xvfb xauth libx11-dev libgl-dev libgl1-mesa-dri mesa-utils
  libxtst-dev xdotool x11-utils libcairo2-dev
  libfreetype-dev libpng-dev
  clang libclang-rt-14-dev clang-format-14
  ttf-bitstream-vera
  dpkg-dev zip unzip lintian
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -ne 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "These packages are missing. Install them with:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# FreeType is compiled into both modules from Debian's source package, kept
# under build/ and never in git.
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/fetch-freetype.sh" "$root/build/third_party"
