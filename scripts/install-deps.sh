#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs, with apt-get, whatever this project needs to build and test that is not there yet,
# and the packages named as arguments (scripts/fuzz.sh asks for clang and its fuzzer runtime).
set -euo pipefail

packages=(cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev qt6-base-dev libgl-dev
          dpkg-dev desktop-file-utils appstream groff-base libcsv-dev nlohmann-json3-dev lintian devscripts
          pkg-config libxcb1-dev libxcb-xtest0-dev xvfb xauth "$@")

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
