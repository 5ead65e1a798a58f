#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need.
# Idempotent: packages already present are not fetched again.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config python3
  clang libclang-rt-14-dev              # libFuzzer and sanitizer runtimes
  libgtest-dev libgmock-dev libbenchmark-dev
  libphysfs-dev libstb-dev libfreetype-dev libsdl2-dev
  libenet-dev                          # rooms of the network stand-in
  libsqlite3-dev libsodium-dev         # korvo-lobbyd: storage and password hashes
  libssl-dev openssl                   # korvo-lobbyd: TLS; the tests make certificates
  libpq-dev postgresql                 # korvo-lobbyd: the shared store; the tests start a server
  fonts-dejavu-core fonts-nanum
  xvfb xauth
  pngquant                             # docs/screens: smaller pictures
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
