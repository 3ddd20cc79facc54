#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing quillmesh needs, on a
# machine that may have nothing but make and git. Idempotent: packages already
# present are left alone, and apt is only consulted when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  capnproto libcapnp-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev
  clang-format time
  clang-16 libclang-rt-16-dev
  chromium
)

# The browser test needs Node.js 18 or later with npm. A Node.js installed from
# elsewhere (its own package carries npm) is used as it is: Debian's npm would
# clash with it over /usr/bin/npm.
if ! command -v npm >/dev/null 2>&1; then
  packages+=(nodejs npm)
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "installing: ${missing[*]}"
sudo_cmd=()
if ((EUID != 0)); then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
